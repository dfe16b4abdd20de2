#pragma once

#include <QString>
#include <optional>

namespace lumeno {

// Unpacks a release archive (a gzip'd tar holding one top folder) into a folder of its own. Entries that
// could reach outside that folder are refused before anything of theirs is written: absolute paths, "..",
// links pointing out (also through other links), devices, pipes and sockets. Modes are the installing
// user's: 0755 for folders and anything executable, 0644 for the rest. Runs on a worker: it writes to the
// disk.
namespace ArchiveUnpacker {

struct Failure {
    enum class Kind {
        unreadable, // not an archive, or cut short
        unsafe,     // an entry that would land outside the folder, or is not a plain file, folder or link
        diskFull,
        unwritable,
    };
    Kind kind = Kind::unreadable;
    QString reason; // for logs
};

// Writes the content of `topFolder` in the archive open at `descriptor` (read from its start, a little at a
// time) into `destination` (which must not exist yet).
std::optional<Failure> unpack(int descriptor, const QString& topFolder, const QString& destination);

} // namespace ArchiveUnpacker

} // namespace lumeno
