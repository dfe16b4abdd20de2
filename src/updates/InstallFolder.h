#pragma once

#include "foundation/AppBundle.h"
#include "updates/Installability.h"

#include <QString>
#include <functional>
#include <optional>

namespace lumeno {

// The application folder an update replaces whole, and the folders beside it that an update uses: the new
// version is unpacked next to it (same file system, so the swap is a rename) and the old one waits beside
// it until the new program has taken over. Everything here touches the disk: call it on a worker.
//
// Every step leaves a program at the folder's place or, between two renames, the version to keep at
// previous(), which the command (bin/lumeno) puts back before it starts the program. A new version keeps
// the replaced one at previous() until it has shown that it runs (TrialRun); the command falls back to it
// should the new one crash meanwhile. What is left beside a running program is removed by clearLeftovers().
class InstallFolder {
public:
    explicit InstallFolder(QString directory);

    const QString& directory() const { return directory_; }
    // Where a new version is unpacked before the swap.
    QString staging() const;
    // Where the replaced version waits until the new program has taken over.
    QString previous() const;

    // Whether this user may replace the folder, which its bundle says was put there by `installation`:
    // only an install in place may be replaced, and only when it and the folder holding it are writable.
    Installability installability(AppBundle::Installation installation) const;
    // Removes what an earlier, unfinished update left in the staging folder. False when it cannot.
    bool clearStaging() const;
    // Puts the staging folder in place of the installed one and the installed one at previous(). When
    // anything fails the installed folder is back where it was; the message says what failed.
    std::optional<QString> swapInStaging() const;
    // Undoes swapInStaging(): the replaced version goes back in place and the one that replaced it goes.
    // The message says what failed.
    std::optional<QString> restorePrevious() const;
    // A swap cut off right after its exchange left the replaced version, older than `installedVersion`, in
    // the staging folder: it goes to previous(), so that the new version in place is on trial. True when
    // it did.
    bool keepReplacedFromCutOffSwap(const QString& installedVersion) const;
    // Removes previous() and the staging folder; run once the program in the folder runs and no update is
    // under way. False when something could not be removed.
    bool clearLeftovers() const;

    // For tests: called after each step that changes the disk (1, 2, …), and whether the file system is
    // asked for an exchange at all.
    std::function<void(int step)> afterStep = [](int) {};
    bool exchangeAvailable = true;

private:
    // Puts `incoming` at the folder's place and the folder at `aside`, in one exchange when `exchange` and
    // the file system allow it.
    std::optional<QString> replaceWith(const QString& incoming, const QString& aside, bool exchange) const;

    QString directory_;
};

} // namespace lumeno
