#pragma once

#include "foundation/AppBundle.h"
#include "updates/Installability.h"

#include <QString>
#include <optional>

namespace lumeno {

// The application folder an update replaces whole, and the folders beside it that an update uses: the new
// version is unpacked next to it (same file system, so the swap is a rename) and the old one waits beside
// it until the new program has started. Everything here touches the disk: call it on a worker.
class InstallFolder {
public:
    explicit InstallFolder(QString directory);

    const QString& directory() const { return directory_; }
    // Where a new version is unpacked before the swap.
    QString staging() const;
    // Where the replaced version waits until the new program removes it.
    QString previous() const;

    // Whether this user may replace the folder, which its bundle says was put there by `installation`:
    // only an install in place may be replaced, and only when it and the folder holding it are writable.
    Installability installability(AppBundle::Installation installation) const;
    // Removes what an earlier, unfinished update left in the staging folder. False when it cannot.
    bool clearStaging() const;
    // Puts the staging folder in place of the installed one and the installed one at previous(). When
    // anything fails the installed folder is back where it was; the message says what failed.
    std::optional<QString> swapInStaging() const;
    // Undoes swapInStaging(): the replaced version goes back in place. False when it cannot.
    bool restorePrevious() const;
    // Removes previous() (and the staging folder, where an exchange may have left the old version); run by
    // the new program once it has started.
    bool removePrevious() const;

private:
    QString directory_;
};

} // namespace lumeno
