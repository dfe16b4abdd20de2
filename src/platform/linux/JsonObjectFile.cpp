#include "platform/linux/JsonObjectFile.h"

#include "support/AtomicFile.h"
#include "support/Clock.h"
#include "support/Json.h"
#include "support/Log.h"

#include <QFileInfo>

namespace lumeno {

JsonObjectFile::JsonObjectFile(QString path, const Clock& clock) : path_(std::move(path)), clock_(clock) {}

std::optional<QJsonObject> JsonObjectFile::read(const QString& path, QString* error) {
    const AtomicFile::ReadResult contents = AtomicFile::read(path);
    if (std::holds_alternative<AtomicFile::Missing>(contents))
        return std::nullopt;
    QString reason;
    if (const auto* unreadable = std::get_if<AtomicFile::Unreadable>(&contents)) {
        reason = unreadable->message;
    } else {
        const std::optional<QJsonValue> document = Json::parse(std::get<QByteArray>(contents), &reason);
        if (document && document->isObject())
            return document->toObject();
        if (document)
            reason = QStringLiteral("%1 does not hold a JSON object").arg(QFileInfo(path).fileName());
    }
    if (error)
        *error = reason;
    return std::nullopt;
}

QJsonObject JsonObjectFile::load() {
    QString error;
    if (std::optional<QJsonObject> object = read(path_, &error))
        return *object;
    mustMoveAside_ = !error.isEmpty();
    if (mustMoveAside_)
        Log::app.error(QStringLiteral("Couldn't read %{public}s: %{public}s"), {path_, error});
    return {};
}

std::optional<QString> JsonObjectFile::save(const QJsonObject& object) {
    if (const auto failed = prepareSave())
        return failed;
    return write(path_, object);
}

std::optional<QString> JsonObjectFile::prepareSave() {
    // The unreadable file may have been removed by the user since; then there is nothing left to keep.
    if (mustMoveAside_) {
        const auto moved = AtomicFile::moveAside(path_, clock_.now());
        if (const auto* failed = std::get_if<AtomicFile::Unreadable>(&moved))
            return failed->message;
    }
    mustMoveAside_ = false;
    return AtomicFile::makeDirectory(QFileInfo(path_).absolutePath());
}

std::optional<QString> JsonObjectFile::write(const QString& path, const QJsonObject& object) {
    return AtomicFile::write(path, Json::write(object));
}

} // namespace lumeno
