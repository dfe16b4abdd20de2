#include "updates/InstallFolder.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace lumeno {

namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString systemError(const QString& what) {
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

InstallFolder::InstallFolder(QString directory) : directory_(QDir::cleanPath(std::move(directory))) {}

QString InstallFolder::staging() const {
    return directory_ + QStringLiteral(".update");
}

QString InstallFolder::previous() const {
    return directory_ + QStringLiteral(".previous");
}

Installability InstallFolder::installability(AppBundle::Installation installation) const {
    using Kind = Installability::Kind;
    switch (installation) {
    case AppBundle::Installation::packaged:
        return {Kind::packaged, {}};
    case AppBundle::Installation::buildTree:
    case AppBundle::Installation::unknown:
        return {Kind::notInstalled, {}};
    case AppBundle::Installation::installed:
        break;
    }
    // The swap renames the folder inside the one holding it: both must be writable.
    for (const QString& folder : {directory_, QFileInfo(directory_).absolutePath()})
        if (::access(native(folder).constData(), W_OK) != 0)
            return {Kind::unwritable, systemError(folder)};
    return {Kind::installable, {}};
}

bool InstallFolder::clearStaging() const {
    QDir leftover(staging());
    return !leftover.exists() || leftover.removeRecursively();
}

std::optional<QString> InstallFolder::swapInStaging() const {
    // A previous folder the last new program could not remove would block the renames below.
    QDir stale(previous());
    if (stale.exists() && !stale.removeRecursively())
        return QStringLiteral("cannot remove %1").arg(previous());
    // One atomic exchange where the file system has it: the installed folder is never missing.
    if (::renameat2(AT_FDCWD, native(staging()).constData(), AT_FDCWD, native(directory_).constData(),
                    RENAME_EXCHANGE) == 0) {
        ::rename(native(staging()).constData(), native(previous()).constData()); // else removed from there
        return std::nullopt;
    }
    if (::rename(native(directory_).constData(), native(previous()).constData()) != 0)
        return systemError(QStringLiteral("moving %1 aside").arg(directory_));
    if (::rename(native(staging()).constData(), native(directory_).constData()) != 0) {
        const QString failure = systemError(QStringLiteral("moving the new version into %1").arg(directory_));
        ::rename(native(previous()).constData(), native(directory_).constData());
        return failure;
    }
    return std::nullopt;
}

bool InstallFolder::restorePrevious() const {
    return ::rename(native(directory_).constData(), native(staging()).constData()) == 0 &&
           ::rename(native(previous()).constData(), native(directory_).constData()) == 0 && clearStaging();
}

bool InstallFolder::removePrevious() const {
    QDir old(previous());
    return (!old.exists() || old.removeRecursively()) && clearStaging();
}

} // namespace lumeno
