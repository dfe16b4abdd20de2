#pragma once

#include <QString>

namespace lumeno {

// Why a check or an install did not go through: what the window shows, and what the log keeps.
struct UpdateProblem {
    enum class Kind {
        feedUnreachable,
        feedRefused,  // the server answered with an error status
        feedMalformed,
        notAFeed,
        feedTooLarge,
        feedRedirectInsecure, // the feed's server sent on to an address that isn't https (or this machine)
        feedRedirectLoop,     // more redirects than are followed
        insecureAddress,
        downloadRedirectInsecure,
        downloadRedirectLoop,
        downloadRefused, // the download server answered with an error status
        archiveTooLarge, // the feed states a length beyond what an update may be
        downloadInterrupted,
        downloadTooLarge,
        lengthMismatch,
        badSignature,
        noPublicKey,
        damagedArchive,
        wrongContent, // the archive holds some other program or version
        strandingRelease, // the new version could never update itself: no key, or not marked as installed
        diskFull,
        unwritable,
        relaunchFailed, // the new version did not take over, and the replaced one was put back
        putBackFailed,  // … and the replaced one could not be put back
        crashedAfterUpdate, // the new version took over, then crashed at a start: the command put the replaced one back
    };

    UpdateProblem(Kind kind = Kind::feedUnreachable, QString reason = {}) : kind(kind), reason(std::move(reason)) {}

    Kind kind;
    QString reason; // for logs: what exactly went wrong
    // The versions named when a new version did not take over: the one that failed, the one kept.
    QString newVersion;
    QString keptVersion;

    // The window's headline and the sentence under it.
    QString title() const;
    QString detail() const;
};

} // namespace lumeno
