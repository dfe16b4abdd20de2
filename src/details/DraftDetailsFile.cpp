#include "details/DraftDetailsFile.h"

#include "support/AtomicFile.h"
#include "support/Json.h"
#include "support/Log.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace lumeno {

namespace {

// None when the bytes are not valid UTF-8.
std::optional<QString> utf8Text(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Whatever is there was not written by us as we know it: it is kept beside the new file.
bool moveUnreadableFileAside(const QString& path, const QDateTime& now) {
    const auto moved = AtomicFile::moveAside(path, now);
    if (const auto* failure = std::get_if<AtomicFile::Unreadable>(&moved)) {
        Log::app.error(QStringLiteral("Couldn't save draft details: the unreadable file could not be moved "
                                      "aside: %{public}s"),
                       {failure->message});
        return false;
    }
    if (const auto* aside = std::get_if<QString>(&moved))
        Log::app.info(QStringLiteral("Moved unreadable draft details to %{public}s"), {QFileInfo(*aside).fileName()});
    return true;
}

} // namespace

std::optional<QStringList> DraftDetailsFile::lines(const QString& path, QString* failure) {
    const AtomicFile::ReadResult read = AtomicFile::read(path);
    if (std::holds_alternative<AtomicFile::Missing>(read))
        return QStringList();
    if (const auto* unreadable = std::get_if<AtomicFile::Unreadable>(&read)) {
        *failure = unreadable->message;
        return std::nullopt;
    }
    const std::optional<QString> text = utf8Text(std::get<QByteArray>(read));
    if (!text) {
        *failure = QStringLiteral("the file is not UTF-8 text");
        return std::nullopt;
    }
    return text->split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool DraftDetailsFile::save(const QString& path, const QUuid& id, const QByteArray& encoded, const QDateTime& now) {
    QString failure;
    std::optional<QStringList> kept = lines(path, &failure);
    if (!kept) {
        if (!moveUnreadableFileAside(path, now))
            return false;
        kept = QStringList();
    }
    // Text values escape their quotation marks, so only a record's own top-level id matches this.
    const QString marker = QStringLiteral("\"id\":\"%1\"").arg(Json::uuid(id).toString());
    kept->removeIf([&marker](const QString& line) { return line.contains(marker); });
    kept->append(QString::fromUtf8(encoded));
    if (kept->size() > linesKept)
        kept->remove(0, kept->size() - linesKept);
    const QByteArray content = (kept->join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (const std::optional<QString> writeFailure = AtomicFile::write(path, content)) {
        Log::app.error(QStringLiteral("Couldn't save draft details: %{public}s"), {*writeFailure});
        return false;
    }
    return true;
}

void DraftDetailsFile::remove(const QString& path) {
    AtomicFile::remove(path);
    AtomicFile::removeCopiesAside(path);
}

} // namespace lumeno
