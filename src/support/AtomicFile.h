#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <variant>

namespace lumeno {

// Files the program owns: written whole through a temporary file (created owner-only) that is renamed over
// the target, so a crash never leaves half a file. Failures come back as user-readable messages.
class AtomicFile {
public:
    struct Missing {};
    struct Unreadable {
        QString message;
    };
    using ReadResult = std::variant<QByteArray, Missing, Unreadable>;

    // Whole contents; Missing when there is no such file.
    static ReadResult read(const QString& path);
    // Writes `data` whole and leaves the file with mode 0600. None on success, else the reason.
    static std::optional<QString> write(const QString& path, const QByteArray& data);
    // Renames an unreadable file to "<name>.unreadable-<UTC yyyyMMdd'T'HHmmss'Z'>" (mode 0600) so that
    // nothing is written over it. Returns the new path, or the reason it failed.
    static std::variant<QString, Unreadable> moveAside(const QString& path, const QDateTime& now);
    // Removes a file; a file that is not there counts as removed. None on success, else the reason.
    static std::optional<QString> remove(const QString& path);
    // Creates a folder (and missing parents) with mode 0700. None on success, else the reason.
    static std::optional<QString> makeDirectory(const QString& path);
};

} // namespace lumeno
