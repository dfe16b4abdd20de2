#include "support/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumeno {

namespace {

// The English description whatever the process locale, matching the rest of the message.
QString reason(int error) {
    const char* description = ::strerrordesc_np(error);
    return description ? QString::fromUtf8(description) : QStringLiteral("Error %1").arg(error);
}

QString failure(const char* action, const QString& path, const QString& why) {
    return QStringLiteral("Couldn't %1 %2: %3")
        .arg(QLatin1StringView(action), QFileInfo(path).fileName(), why);
}

QString failure(const char* action, const QString& path, int error) {
    return failure(action, path, reason(error));
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

// Retries a system call interrupted by a signal.
template <typename Call> auto retrying(Call call) {
    decltype(call()) result;
    do {
        result = call();
    } while (result == -1 && errno == EINTR);
    return result;
}

bool writeAll(int fd, const QByteArray& data) {
    const char* next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = retrying([&] { return ::write(fd, next, size_t(left)); });
        if (written < 0)
            return false;
        next += written;
        left -= written;
    }
    return true;
}

// Creates a new file from a mkstemp template with mode 0666 less the umask; -1 with errno on failure.
int createByUmask(QByteArray& pattern) {
    static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const qsizetype stem = pattern.size() - 6;
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (qsizetype i = stem; i < pattern.size(); ++i)
            pattern[i] = letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        const int fd = retrying([&] {
            return ::open(pattern.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        });
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Makes the rename itself durable; file systems that cannot sync a folder lose nothing but that promise.
void syncDirectory(const QByteArray& directory) {
    const int fd =
        retrying([&] { return ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Renames without ever replacing an existing file. EEXIST when `to` is taken.
int renameNoReplace(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // The file system cannot rename exclusively: a hard link fails on an existing name just the same.
    if (::link(from.constData(), to.constData()) != 0)
        return errno;
    ::unlink(from.constData());
    return 0;
}

} // namespace

AtomicFile::ReadResult AtomicFile::read(const QString& path) {
    // Non-blocking so that a pipe put in a file's place cannot hang the reader; regular files ignore it.
    const int fd =
        retrying([&] { return ::open(native(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); });
    if (fd < 0) {
        if (errno == ENOENT)
            return Missing{};
        return Unreadable{failure("read", path, errno)};
    }
    struct stat info {};
    std::optional<QString> notAFile;
    if (::fstat(fd, &info) != 0)
        notAFile = reason(errno);
    else if (S_ISDIR(info.st_mode))
        notAFile = reason(EISDIR);
    else if (!S_ISREG(info.st_mode))
        notAFile = QStringLiteral("Not a regular file");
    if (notAFile) {
        ::close(fd);
        return Unreadable{failure("read", path, *notAFile)};
    }
    QByteArray contents;
    contents.reserve(qsizetype(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = retrying([&] { return ::read(fd, buffer, sizeof buffer); });
        if (count < 0) {
            const int error = errno;
            ::close(fd);
            return Unreadable{failure("read", path, error)};
        }
        if (count == 0)
            break;
        contents.append(buffer, count);
    }
    ::close(fd);
    return contents;
}

std::optional<QString> AtomicFile::write(const QString& path, const QByteArray& data, Access access) {
    const QFileInfo target(path);
    // Hidden, in the same folder (a rename never crosses file systems). mkstemp creates it 0600 so the
    // contents are never readable by others, not even for a moment; a file for the user to hand on is
    // created the way any program creates one, and the umask decides.
    QByteArray temporary = native(target.absolutePath() + QLatin1StringView("/.") + target.fileName() +
                                  QLatin1StringView(".tmp-XXXXXX"));
    const int fd = access == Access::ownerOnly ? ::mkstemp(temporary.data()) : createByUmask(temporary);
    if (fd < 0)
        return failure("write", path, errno);

    int error = 0;
    if (!writeAll(fd, data) || retrying([&] { return ::fsync(fd); }) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), native(path).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return failure("write", path, error);
    }
    syncDirectory(native(target.absolutePath()));
    if (access == Access::ownerOnly && ::chmod(native(path).constData(), 0600) != 0)
        return failure("write", path, errno);
    return std::nullopt;
}

std::variant<QString, AtomicFile::Missing, AtomicFile::Unreadable> AtomicFile::moveAside(const QString& path,
                                                                                         const QDateTime& now) {
    const QString stem = path + QLatin1StringView(".unreadable-") +
                         now.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString destination = stem;
    for (int attempt = 2;; ++attempt) {
        const int error = renameNoReplace(native(path), native(destination));
        if (error == 0)
            break;
        if (error == ENOENT && !QFileInfo::exists(path))
            return Missing{};
        if (error != EEXIST)
            return Unreadable{
                QStringLiteral("Couldn't move %1 aside: %2").arg(QFileInfo(path).fileName(), reason(error))};
        destination = stem + u'-' + QString::number(attempt);
    }
    // The file is safe from being written over once renamed; a mode we cannot tighten is no wider than
    // it was, so it does not undo the move.
    ::chmod(native(destination).constData(), 0600);
    return destination;
}

std::optional<QString> AtomicFile::remove(const QString& path) {
    if (::unlink(native(path).constData()) != 0 && errno != ENOENT)
        return failure("remove", path, errno);
    return std::nullopt;
}

std::optional<QString> AtomicFile::empty(const QString& path) {
    if (retrying([&] { return ::truncate(native(path).constData(), 0); }) != 0)
        return failure("empty", path, errno);
    return std::nullopt;
}

std::optional<QString> AtomicFile::removeCopiesAside(const QString& path) {
    const QFileInfo file(path);
    const QDir folder = file.absoluteDir();
    std::optional<QString> firstFailure;
    for (const QString& copy : folder.entryList({file.fileName() + QStringLiteral(".unreadable-*")},
                                                QDir::Files | QDir::Hidden | QDir::System)) {
        const std::optional<QString> failed = remove(folder.filePath(copy));
        if (!firstFailure)
            firstFailure = failed;
    }
    return firstFailure;
}

std::optional<QString> AtomicFile::makeDirectory(const QString& path) {
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    auto folderFailure = [&](int error) {
        return QStringLiteral("Couldn't create the folder %1: %2")
            .arg(QDir::toNativeSeparators(absolute), reason(error));
    };
    // Created component by component (rather than QDir::mkpath) to keep the system's reason for a failure.
    int firstError = 0;
    qsizetype slash = 0;
    while (slash != -1) {
        slash = absolute.indexOf(u'/', slash + 1);
        const QByteArray component = native(slash == -1 ? absolute : absolute.left(slash));
        if (::mkdir(component.constData(), 0700) == 0)
            continue;
        if (errno != EEXIST) {
            firstError = firstError ? firstError : errno;
            continue;
        }
        struct stat info {};
        if (::stat(component.constData(), &info) == 0 && !S_ISDIR(info.st_mode))
            return folderFailure(ENOTDIR);
    }
    // mkdir's mode passes through the umask, which may only narrow it; an existing folder keeps the mode
    // its owner gave it.
    struct stat info {};
    if (::stat(native(absolute).constData(), &info) != 0)
        return folderFailure(firstError ? firstError : errno);
    return std::nullopt;
}

std::variant<uint, AtomicFile::Unreadable> AtomicFile::closeToOthers(const QString& path) {
    struct stat info {};
    if (::stat(native(path).constData(), &info) != 0 ||
        ((info.st_mode & 077) != 0 && ::chmod(native(path).constData(), info.st_mode & 07700) != 0))
        return Unreadable{QStringLiteral("Couldn't make %1 private: %2")
                              .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason(errno))};
    return uint(info.st_mode & 07777);
}

} // namespace lumeno
