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
    // None on success, else the reason (the file is then unchanged).
    std::optional<QString> save(const QJsonObject& object);

    // A file's object, or none when it is missing or unreadable; for files the program never writes.
    static std::optional<QJsonObject> read(const QString& path, QString* error = nullptr);

    const QString& path() const { return path_; }

private:
    QString path_;
    const Clock& clock_;
    bool mustMoveAside_ = false;
};

} // namespace lumeno
