#include "updates/InstallFolder.h"

#include "updates/VersionOrder.h"

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

bool removeFolder(const QString& path) {
    QDir folder(path);
    return !folder.exists() || folder.removeRecursively();
}

bool rename(const QString& from, const QString& to) {
    return ::rename(native(from).constData(), native(to).constData()) == 0;
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
    return removeFolder(staging());
}

std::optional<QString> InstallFolder::replaceWith(const QString& incoming, const QString& aside, bool exchange) const {
    // One atomic exchange where the file system has it: the folder is never missing.
    if (exchange && exchangeAvailable && ::renameat2(AT_FDCWD, native(incoming).constData(), AT_FDCWD,
                                         native(directory_).constData(), RENAME_EXCHANGE) == 0) {
        afterStep(1);
        if (incoming != aside && !rename(incoming, aside))
            return systemError(QStringLiteral("moving %1 aside").arg(incoming));
        afterStep(2);
        return std::nullopt;
    }
    // Two renames. Between them the folder is missing, and the command puts previous() back: in a swap and
    // in its undoing alike, that is the version to keep.
    if (!rename(directory_, aside))
        return systemError(QStringLiteral("moving %1 aside").arg(directory_));
    afterStep(1);
    if (!rename(incoming, directory_)) {
        const QString failure = systemError(QStringLiteral("moving %1 into %2").arg(incoming, directory_));
        rename(aside, directory_);
        return failure;
    }
    afterStep(2);
    return std::nullopt;
}

std::optional<QString> InstallFolder::swapInStaging() const {
    // A previous folder the last new program could not remove would block the renames below.
    if (!removeFolder(previous()))
        return QStringLiteral("cannot remove %1").arg(previous());
    return replaceWith(staging(), previous(), true);
}

std::optional<QString> InstallFolder::restorePrevious() const {
    if (!QFileInfo(previous()).isDir())
        return QStringLiteral("%1 is gone").arg(previous());
    if (!clearStaging())
        return QStringLiteral("cannot remove %1").arg(staging());
    // The version that failed goes by way of the staging folder, in two renames: cut off after an exchange,
    // the failed version would wait at previous(), where the command would take it for the one to keep.
    if (const std::optional<QString> failure = replaceWith(previous(), staging(), false))
        return failure;
    clearStaging();
    return std::nullopt;
}

bool InstallFolder::keepReplacedFromCutOffSwap(const QString& installedVersion) const {
    if (QFileInfo::exists(previous()))
        return false;
    // A version prepared for an update is newer than the one in place; the one a swap replaced is older.
    const std::variant<AppBundle, QString> staged = AppBundle::read(staging());
    const AppBundle* bundle = std::get_if<AppBundle>(&staged);
    return bundle && VersionOrder::isNewer(installedVersion, bundle->version) && rename(staging(), previous());
}

bool InstallFolder::clearLeftovers() const {
    return removeFolder(previous()) & clearStaging();
}

} // namespace lumeno
