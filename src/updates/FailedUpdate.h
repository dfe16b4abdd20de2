#pragma once

#include <QString>
#include <optional>

namespace lumeno {

// The last version that could not start on this machine after it was installed, kept in a small file of
// the updater's own: background checks no longer announce it and the tray no longer offers it, while the
// user's own check still shows it, with why it failed.
struct FailedUpdate {
    QString version;
    QString displayVersion;
    QString reason; // for the user, to follow a colon: what happened when it was started

    // Reasons as the window words them.
    static QString endedAtStart();
    static QString neverGotReady();
    static QString crashedAfterStart();

    // The record in `path`; none when there is none or it cannot be read. Touches the disk: on a worker.
    static std::optional<FailedUpdate> read(const QString& path);
    // Writes the record whole; the reason when it cannot.
    std::optional<QString> write(const QString& path) const;
};

} // namespace lumeno
