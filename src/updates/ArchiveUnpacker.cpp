#include "updates/ArchiveUnpacker.h"

#include <QDir>
#include <QHash>

#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace lumeno {

namespace {

using Failure = ArchiveUnpacker::Failure;
using Reader = std::unique_ptr<archive, decltype(&archive_read_free)>;
using Writer = std::unique_ptr<archive, decltype(&archive_write_free)>;

// How much of the archive is read at a time.
constexpr size_t readBlockBytes = 64 * 1024;

// The entry's path below the top folder ("" for the top folder itself), or none when it lies elsewhere or
// climbs out.
std::optional<QString> insideTopFolder(const QString& path, const QString& topFolder) {
    if (path.startsWith(u'/'))
        return std::nullopt;
    QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    if (parts.isEmpty() || parts.front() != topFolder || parts.contains(QStringLiteral("..")))
        return std::nullopt;
    parts.removeFirst();
    return parts.join(u'/');
}

// The links unpacked so far: each one's path below the top folder and its target as written.
using Links = QHash<QString, QString>;

// Where the link at `linkPath` leads, followed through every link in `links` as the system follows them
// (a ".." after a link climbs from where the link led): its path below the top folder, or none when it
// climbs out, is absolute or goes round in circles.
std::optional<QStringList> resolvedLink(const QString& linkPath, const Links& links) {
    constexpr int maxHops = 40; // as the system's own bound on links followed in one path
    QStringList pending = linkPath.split(u'/', Qt::SkipEmptyParts);
    if (pending.isEmpty())
        return std::nullopt; // the top folder itself must be a folder
    pending.removeLast();
    pending += links.value(linkPath).split(u'/', Qt::SkipEmptyParts);
    QStringList reached;
    int hops = 0;
    while (!pending.isEmpty()) {
        const QString part = pending.takeFirst();
        if (part == QStringLiteral("."))
            continue;
        if (part == QStringLiteral("..")) {
            if (reached.isEmpty())
                return std::nullopt;
            reached.removeLast();
            continue;
        }
        reached.append(part);
        const auto link = links.constFind(reached.join(u'/'));
        if (link == links.cend())
            continue;
        if (++hops > maxHops || link->startsWith(u'/'))
            return std::nullopt;
        reached.removeLast();
        pending = link->split(u'/', Qt::SkipEmptyParts) + pending;
    }
    return reached;
}

// Every link, followed through the others, stays inside the unpacked folder: a link added later can make
// an earlier one lead out (p/q/b -> ../.. makes lumeno -> p/q/b/../outside escape), so all are checked.
bool linksStayInside(const Links& links) {
    for (auto link = links.cbegin(); link != links.cend(); ++link)
        if (link->isEmpty() || link->startsWith(u'/') || !resolvedLink(link.key(), links))
            return false;
    return true;
}

// Files run by the installing user or read by anyone, folders anyone may enter: nothing set-user-ID,
// set-group-ID or writable by others, whatever the archive says.
void normaliseMode(archive_entry* entry) {
    const bool executable = archive_entry_filetype(entry) == AE_IFDIR || (archive_entry_perm(entry) & 0111) != 0;
    archive_entry_set_perm(entry, executable ? 0755 : 0644);
}

Failure writeFailure(archive* writer, const QString& what) {
    const int error = archive_errno(writer);
    const QString reason = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(archive_error_string(writer)));
    if (error == ENOSPC || error == EDQUOT)
        return {Failure::Kind::diskFull, reason};
    return {Failure::Kind::unwritable, reason};
}

std::optional<Failure> copyData(archive* reader, archive* writer, const QString& path) {
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    for (;;) {
        const int status = archive_read_data_block(reader, &block, &size, &offset);
        if (status == ARCHIVE_EOF)
            return std::nullopt;
        if (status < ARCHIVE_WARN)
            return Failure{Failure::Kind::unreadable,
                           QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(archive_error_string(reader)))};
        // A write the disk refused is only a warning to libarchive; here it ends the unpacking.
        if (archive_write_data_block(writer, block, size, offset) != ARCHIVE_OK)
            return writeFailure(writer, path);
    }
}

std::optional<Failure> unpackEntry(archive* reader, archive* writer, archive_entry* entry,
                                   const QString& topFolder, const QString& destination, Links& links) {
    const QString path = QString::fromUtf8(archive_entry_pathname(entry));
    const std::optional<QString> inside = insideTopFolder(path, topFolder);
    if (!inside)
        return Failure{Failure::Kind::unsafe, QStringLiteral("%1 lies outside %2/").arg(path, topFolder)};
    // A link replaced by a folder or file would change where the links through it lead.
    if (links.contains(*inside) && archive_entry_filetype(entry) != AE_IFLNK)
        return Failure{Failure::Kind::unsafe, QStringLiteral("%1 replaces a link").arg(path)};
    // A hard link names another entry of the archive, whatever type it is given.
    if (const char* hardlink = archive_entry_hardlink(entry)) {
        const std::optional<QString> target = insideTopFolder(QString::fromUtf8(hardlink), topFolder);
        if (!target || target->isEmpty())
            return Failure{Failure::Kind::unsafe, QStringLiteral("%1 links outside the folder").arg(path)};
        archive_entry_set_hardlink(entry, QDir(destination).filePath(*target).toUtf8().constData());
    } else {
        const mode_t type = archive_entry_filetype(entry);
        if (type != AE_IFREG && type != AE_IFDIR && type != AE_IFLNK)
            return Failure{Failure::Kind::unsafe, QStringLiteral("%1 is not a file, folder or link").arg(path)};
        if (type == AE_IFLNK) {
            links.insert(*inside, QString::fromUtf8(archive_entry_symlink(entry)));
            if (!linksStayInside(links))
                return Failure{Failure::Kind::unsafe, QStringLiteral("%1 links outside the folder").arg(path)};
        }
    }
    normaliseMode(entry);
    archive_entry_set_pathname(entry, (inside->isEmpty() ? destination : QDir(destination).filePath(*inside))
                                          .toUtf8().constData());
    if (archive_write_header(writer, entry) < ARCHIVE_WARN)
        return writeFailure(writer, path);
    if (archive_entry_size(entry) > 0) {
        if (std::optional<Failure> failure = copyData(reader, writer, path))
            return failure;
    }
    if (archive_write_finish_entry(writer) < ARCHIVE_WARN)
        return writeFailure(writer, path);
    return std::nullopt;
}

} // namespace

std::optional<Failure> ArchiveUnpacker::unpack(int descriptor, const QString& topFolder, const QString& destination) {
    if (::lseek(descriptor, 0, SEEK_SET) != 0)
        return Failure{Failure::Kind::unreadable, QStringLiteral("cannot read the archive from its start")};
    Reader reader(archive_read_new(), &archive_read_free);
    archive_read_support_filter_gzip(reader.get());
    archive_read_support_format_tar(reader.get());
    if (archive_read_open_fd(reader.get(), descriptor, readBlockBytes) != ARCHIVE_OK)
        return Failure{Failure::Kind::unreadable, QString::fromLocal8Bit(archive_error_string(reader.get()))};

    if (!QDir().mkdir(destination))
        return Failure{Failure::Kind::unwritable, QStringLiteral("cannot create %1").arg(destination)};
    Writer writer(archive_write_disk_new(), &archive_write_free);
    // Owners are not restored: the files belong to whoever installs. Every path written is the destination's (absolute) path joined to an entry path checked above; the
    // writer still refuses ".." and writing through a link on its own.
    archive_write_disk_set_options(writer.get(), ARCHIVE_EXTRACT_PERM | ARCHIVE_EXTRACT_TIME |
                                                     ARCHIVE_EXTRACT_SECURE_NODOTDOT |
                                                     ARCHIVE_EXTRACT_SECURE_SYMLINKS);
    bool sawEntry = false;
    Links links;
    archive_entry* entry = nullptr;
    for (;;) {
        const int status = archive_read_next_header(reader.get(), &entry);
        if (status == ARCHIVE_EOF)
            break;
        if (status < ARCHIVE_WARN)
            return Failure{Failure::Kind::unreadable, QString::fromLocal8Bit(archive_error_string(reader.get()))};
        sawEntry = true;
        if (std::optional<Failure> failure = unpackEntry(reader.get(), writer.get(), entry, topFolder, destination, links))
            return failure;
    }
    if (archive_write_close(writer.get()) < ARCHIVE_WARN)
        return writeFailure(writer.get(), destination);
    if (!sawEntry)
        return Failure{Failure::Kind::unreadable, QStringLiteral("the archive is empty")};
    return std::nullopt;
}

} // namespace lumeno
