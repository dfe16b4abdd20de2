#include "updates/UpdateProblem.h"

namespace lumeno {

QString UpdateProblem::title() const {
    switch (kind) {
    case Kind::feedUnreachable:
    case Kind::feedRefused:
    case Kind::feedRedirectInsecure:
    case Kind::feedRedirectLoop:
        return QStringLiteral("Lumeno couldn't check for updates.");
    case Kind::feedMalformed:
    case Kind::notAFeed:
    case Kind::feedTooLarge:
        return QStringLiteral("The update feed couldn't be read.");
    case Kind::insecureAddress:
    case Kind::downloadRedirectInsecure:
        return QStringLiteral("The update's address isn't secure.");
    case Kind::downloadRedirectLoop:
    case Kind::downloadRefused:
    case Kind::archiveTooLarge:
    case Kind::downloadInterrupted:
    case Kind::downloadTooLarge:
    case Kind::lengthMismatch:
        return QStringLiteral("The update couldn't be downloaded.");
    case Kind::badSignature:
    case Kind::noPublicKey:
        return QStringLiteral("The update couldn't be verified.");
    case Kind::damagedArchive:
    case Kind::wrongContent:
        return QStringLiteral("The update is damaged.");
    case Kind::strandingRelease:
    case Kind::diskFull:
    case Kind::unwritable:
        return QStringLiteral("The update couldn't be installed.");
    case Kind::relaunchFailed:
    case Kind::crashedAfterUpdate:
        return QStringLiteral("Lumeno %1 couldn't start, so Lumeno %2 was kept.").arg(newVersion, keptVersion);
    case Kind::putBackFailed:
        return QStringLiteral("Lumeno %1 couldn't start, and Lumeno %2 couldn't be put back.").arg(newVersion, keptVersion);
    }
    Q_UNREACHABLE();
}

QString UpdateProblem::detail() const {
    const QString unchanged = QStringLiteral(" Lumeno was left as it was.");
    switch (kind) {
    case Kind::feedUnreachable:
        return QStringLiteral("The update server can't be reached. Check your internet connection and try again.");
    case Kind::feedRefused:
        return QStringLiteral("The update server answered with an error. Try again later.");
    case Kind::feedMalformed:
        return QStringLiteral("The update feed is damaged. Try again later.");
    case Kind::notAFeed:
        return QStringLiteral("The update address gave a page that isn't an update feed.");
    case Kind::feedTooLarge:
        return QStringLiteral("The update feed is far larger than a feed should be, so Lumeno stopped reading it.");
    case Kind::feedRedirectInsecure:
        return QStringLiteral("The update server sent Lumeno on to an address that isn't secure, so Lumeno didn't "
                              "follow it. Updates are only taken over https.");
    case Kind::feedRedirectLoop:
        return QStringLiteral("The update server kept sending Lumeno from one address to another, so Lumeno stopped "
                              "following it. Try again later.");
    case Kind::insecureAddress:
        return QStringLiteral("Updates are only taken over https, so this one wasn't downloaded.") + unchanged;
    case Kind::downloadRedirectInsecure:
        return QStringLiteral("The download server sent Lumeno on to an address that isn't secure, so the update "
                              "wasn't downloaded. Updates are only taken over https.") +
               unchanged;
    case Kind::downloadRedirectLoop:
        return QStringLiteral("The download server kept sending Lumeno from one address to another, so Lumeno "
                              "stopped following it. Try again later.") +
               unchanged;
    case Kind::downloadRefused:
        return QStringLiteral("The download server answered with an error. Try again later.") + unchanged;
    case Kind::archiveTooLarge:
        return QStringLiteral("The update feed says the download is far larger than an update of Lumeno can be, so "
                              "it wasn't downloaded.") +
               unchanged;
    case Kind::downloadInterrupted:
        return QStringLiteral("The download was interrupted. Try again when your connection is back.") + unchanged;
    case Kind::downloadTooLarge:
        return QStringLiteral("The download was larger than the update feed says, so Lumeno stopped it.") +
               unchanged;
    case Kind::lengthMismatch:
        return QStringLiteral("The download isn't the size the update feed says.") + unchanged;
    case Kind::badSignature:
        return QStringLiteral("The download isn't signed by Lumeno's maker, so it wasn't installed.") + unchanged;
    case Kind::noPublicKey:
        return QStringLiteral("This copy of Lumeno has no key to check updates with, so it can't install them.");
    case Kind::damagedArchive:
        return QStringLiteral("The downloaded archive can't be unpacked safely.") + unchanged;
    case Kind::wrongContent:
        return QStringLiteral("The download doesn't hold the version of Lumeno the feed offers.") + unchanged;
    case Kind::strandingRelease:
        return QStringLiteral("This version of Lumeno was released without what it needs to check and install "
                              "later updates, so it wasn't installed.") + unchanged;
    case Kind::diskFull:
        return QStringLiteral("There isn't enough free space on the disk. Free some space and try again.") +
               unchanged;
    case Kind::unwritable:
        return QStringLiteral("Lumeno can't write to the folder it's installed in.") + unchanged;
    case Kind::relaunchFailed:
        return QStringLiteral("Lumeno %1 was opened after the update but didn't get ready, so it was removed again. "
                              "You can go on using Lumeno %2 as before.")
            .arg(newVersion, keptVersion);
    case Kind::crashedAfterUpdate:
        return QStringLiteral("Lumeno %1 stopped unexpectedly soon after it was opened, so Lumeno %2 was put back. "
                              "You can go on using Lumeno %2 as before.")
            .arg(newVersion, keptVersion);
    case Kind::putBackFailed:
        return QStringLiteral("Lumeno %1 keeps running until you quit it. To have Lumeno start again after that, "
                              "install it again.")
            .arg(keptVersion);
    }
    Q_UNREACHABLE();
}

} // namespace lumeno
