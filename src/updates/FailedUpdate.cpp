#include "updates/FailedUpdate.h"

#include "support/AtomicFile.h"
#include "support/Json.h"

namespace lumeno {

QString FailedUpdate::endedAtStart() {
    return QStringLiteral("it closed as soon as it was opened");
}

QString FailedUpdate::neverGotReady() {
    return QStringLiteral("it didn't get ready in time");
}

QString FailedUpdate::crashedAfterStart() {
    return QStringLiteral("it stopped unexpectedly soon after it was opened");
}

std::optional<FailedUpdate> FailedUpdate::read(const QString& path) {
    const AtomicFile::ReadResult contents = AtomicFile::read(path);
    const QByteArray* bytes = std::get_if<QByteArray>(&contents);
    if (!bytes)
        return std::nullopt;
    const std::optional<QJsonValue> json = Json::parse(*bytes);
    if (!json || !json->isObject())
        return std::nullopt;
    JsonReader reader(json->toObject());
    FailedUpdate record{reader.string(QStringLiteral("version")), reader.string(QStringLiteral("displayVersion")),
                        reader.string(QStringLiteral("reason"))};
    if (!reader.ok() || record.version.isEmpty())
        return std::nullopt;
    return record;
}

std::optional<QString> FailedUpdate::write(const QString& path) const {
    return AtomicFile::write(path, Json::write(QJsonObject{{QStringLiteral("version"), version},
                                                           {QStringLiteral("displayVersion"), displayVersion},
                                                           {QStringLiteral("reason"), reason}}));
}

} // namespace lumeno
