#pragma once

#include "drafting/StyleProfile.h"
#include "support/FileWriter.h"

#include <QObject>

#include <functional>

namespace lumeno {

class Clock;
class SettingsStore;

// The single owner of the user's style profile and style.json. Every change is saved off the main thread,
// atomically and readable by the user only. A style.json that cannot be read is never written over: it
// holds messages the user really sent, so it is moved aside first.
class StyleStore : public QObject {
    Q_OBJECT
public:
    static constexpr int maxLearnedExamples = 20;
    static constexpr int maxExampleCharacters = 4000;

    // Reads `filePath` (the default profile when it is missing or unreadable), then switches learning from
    // edits on once per install. `settings` and `clock` must outlive the store.
    StyleStore(QString filePath, SettingsStore& settings, const Clock& clock, QObject* parent = nullptr);

    const StyleProfile& profile() const { return profile_; }
    // Stores and saves `profile`; `profileChanged()` only when it differs.
    void setProfile(const StyleProfile& profile);

    // A text the user really sent: trimmed, secrets redacted, cut to a bound; a copy already kept moves to
    // the newest place; only the newest examples are kept.
    void addLearnedExample(const QString& text);
    void removeLearnedExample(int index);
    // Clears the learned examples and the length, tone and formality knobs, keeps the names, the sign-off,
    // the pasted samples and the learning switch, and saves.
    void reset();

    // The signed-in account's name; empty until the application installs it.
    std::function<QString()> accountName = [] { return QString(); };
    // The full name of the system user; the application reads it from the system, tests set it.
    std::function<QString()> systemUserName = [] { return QString(); };

    QString resolvedName() const;
    QString resolvedSignName() const;

    const QString& filePath() const { return filePath_; }
    // Waits until what was saved so far is on disk.
    void finishDiskWork() { disk_.finish(); }

signals:
    void profileChanged();

private:
    void load();
    void applyLearnFromEditsDefault();
    void save();
    bool moveUnreadableFileAside();

    QString filePath_;
    SettingsStore& settings_;
    const Clock& clock_;
    StyleProfile profile_;
    bool unreadableFileOnDisk_ = false;
    FileWriter disk_;
};

} // namespace lumeno
