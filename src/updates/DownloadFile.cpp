#include "updates/DownloadFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace lumeno {

namespace {

using Kind = UpdateProblem::Kind;

UpdateProblem diskProblem(int error, const QString& what) {
    const QString reason = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(error)));
    const bool full = error == ENOSPC || error == EDQUOT || error == EFBIG;
    return {full ? Kind::diskFull : Kind::unwritable, reason};
}

} // namespace

DownloadFile::Created DownloadFile::create(const QString& installDirectory, qint64 length) {
    const QString folder = QFileInfo(installDirectory).absolutePath();
    QByteArray name = QFile::encodeName(QDir(folder).filePath(QStringLiteral(".lumeno.download-XXXXXX")));
    const int descriptor = ::mkostemp(name.data(), O_CLOEXEC);
    if (descriptor < 0)
        return diskProblem(errno, QStringLiteral("creating a download file in %1").arg(folder));
    // Nameless from here on: only the open descriptor keeps it.
    ::unlink(name.constData());
    std::shared_ptr<DownloadFile> file(new DownloadFile(descriptor));
    // The whole stated length (never 0: the feed's item would be left out) is taken before the first byte
    // arrives, so a full disk shows now and nothing else can fill it meanwhile.
    if (const int error = ::posix_fallocate(descriptor, 0, length); error != 0)
        return diskProblem(error, QStringLiteral("reserving %1 bytes in %2").arg(length).arg(folder));
    return file;
}

DownloadFile::~DownloadFile() {
    if (mapping_)
        ::munmap(mapping_, size_t(size_));
    ::close(descriptor_);
}

bool DownloadFile::append(QByteArrayView piece) {
    const char* data = piece.data();
    qsizetype left = piece.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor_, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0) {
            writeProblem_ = diskProblem(errno, QStringLiteral("writing the download"));
            return false;
        }
        data += written;
        left -= written;
        size_ += written;
    }
    return true;
}

std::optional<QByteArrayView> DownloadFile::mapped() {
    if (!mapping_) {
        void* mapping = ::mmap(nullptr, size_t(size_), PROT_READ, MAP_SHARED, descriptor_, 0);
        if (mapping == MAP_FAILED)
            return std::nullopt;
        mapping_ = mapping;
    }
    return QByteArrayView(static_cast<const char*>(mapping_), size_);
}

} // namespace lumeno
