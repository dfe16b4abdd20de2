#pragma once

#include <QJsonObject>
#include <QString>
#include <optional>

namespace lumeno {

class Clock;

// One JSON object kept whole in one owner-only file, written through AtomicFile. A file that is there but
// cannot be read as an object is moved aside before the first save, so what was in it is never lost.
class JsonObjectFile {
public:
    JsonObjectFile(QString path, const Clock& clock);

    // The file's object; empty when the file is missing or unreadable (the reason is logged).
    QJsonObject load();
    // prepareSave() and write() in one, on the calling thread. None on success, else the reason.
    std::optional<QString> save(const QJsonObject& object);
    // Readies the place for a save: an unreadable file moved aside, the folder made. None on success, else
    // the reason (nothing may be written then).
    std::optional<QString> prepareSave();
    // Writes `object` whole: blocking, for a worker thread. None on success, else the reason (the file is
    // then unchanged).
    static std::optional<QString> write(const QString& path, const QJsonObject& object);

    // A file's object, or none when it is missing or unreadable; for files the program never writes.
    static std::optional<QJsonObject> read(const QString& path, QString* error = nullptr);

    const QString& path() const { return path_; }

private:
    QString path_;
    const Clock& clock_;
    bool mustMoveAside_ = false;
};

} // namespace lumeno
