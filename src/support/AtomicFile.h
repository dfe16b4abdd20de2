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
    // Who may read a written file: the owner alone, or whoever the user's umask lets (a file the user
    // saves to hand on, such as an export).
    enum class Access { ownerOnly, byUmask };

    // Writes `data` whole; with ownerOnly the file is left with mode 0600. None on success, else the reason.
    static std::optional<QString> write(const QString& path, const QByteArray& data,
                                        Access access = Access::ownerOnly);
    // Renames an unreadable file to "<name>.unreadable-<UTC yyyyMMdd'T'HHmmss'Z'>" (mode 0600) so that
    // nothing is written over it. Returns the new path, Missing when the file is gone already (nothing is
    // left to keep), or the reason it failed.
    static std::variant<QString, Missing, Unreadable> moveAside(const QString& path, const QDateTime& now);
    // Removes a file; a file that is not there counts as removed. None on success, else the reason.
    static std::optional<QString> remove(const QString& path);
    // Empties an existing file in place, for a file its folder will not let go of. None on success, else
    // the reason.
    static std::optional<QString> empty(const QString& path);
    // Removes every copy moveAside kept of a file. None on success, else the first reason.
    static std::optional<QString> removeCopiesAside(const QString& path);
    // Creates a folder (and missing parents) with mode 0700; an existing folder is left as it is. None on
    // success, else the reason.
    static std::optional<QString> makeDirectory(const QString& path);
    // Takes every right of group and others away from a file or folder; the owner's own stay as they are
    // (a folder made read-only stays read-only). The mode it had, or the reason it failed.
    static std::variant<uint, Unreadable> closeToOthers(const QString& path);
};

} // namespace lumeno
