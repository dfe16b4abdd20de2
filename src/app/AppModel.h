#pragma once

#include "foundation/Hotkey.h"

#include <QCoroTask>

#include <QDateTime>
#include <QObject>
#include <memory>
#include <optional>

namespace lumeno {

class AppServices;

// The one application model: owns every service (AppServices), connects them at start, and carries what the
// menu bar shows (status line, attention, last draft) and the quit hold that keeps a desktop permission
// prompt from being torn down by a quit. The windows sit above it, in the shell.
class AppModel : public QObject {
    Q_OBJECT
public:
    // How long quitting is held once a permission prompt shows, and after it was answered.
    static constexpr double promptHoldSeconds = 45;
    static constexpr double promptCloseHoldSeconds = 3;

    // Takes the services built over the platform (AppServices), for the whole run.
    explicit AppModel(std::unique_ptr<AppServices> services, QObject* parent = nullptr);
    ~AppModel() override;

    AppServices& services() { return *services_; }

    // Connects the hot key, the clipboard watch, the account refresh and the speech warm-up, and asks for
    // the first-run guide when the user still has to sign in or choose a language. Once.
    void start();
    // None on success or when nothing changed; otherwise why the desktop refused the key (the old key stays).
    std::optional<QString> applyHotkey(const Hotkey& hotkey);
    void beginPermissionPrompt();
    void endPermissionPrompt();
    // Whether a quit must wait for a permission prompt now.
    bool holdsQuit() const;
    // Stops the services once, before the application quits; the windows keep what the user typed first.
    void prepareToQuit();
    void prepareSpeech();

    bool needsAttention() const;
    QString statusLine() const;
    const std::optional<QString>& lastDraft() const { return lastDraft_; }
    const QDateTime& permissionPromptUntil() const { return permissionPromptUntil_; }
    bool didPrepareToQuit() const { return didPrepareToQuit_; }

signals:
    // The program is about to quit, its services still running: what the user typed and has not saved yet
    // is saved now, as closing its window would keep it.
    void quitting();
    void lastDraftChanged();
    void permissionPromptUntilChanged();
    // At start: the user has yet to sign in or to choose the speech language.
    void firstRunNeeded();

private:
    void setLastDraft(const QString& text);
    void setPermissionPromptUntil(const QDateTime& until);
    // A user who never chose a hot key gets one the keyboard layout leaves free.
    void chooseDefaultHotkey();
    // Once per run: the layout took the hot key for typing; the overlay says so, with the picker a click away.
    void tellLayoutRefusal(const QString& why);
    QCoro::Task<> warmUpSpeech();
    QCoro::Task<> refreshAccount();
    QCoro::Task<> logStarted();

    std::unique_ptr<AppServices> services_;
    std::optional<QString> lastDraft_;
    QDateTime permissionPromptUntil_;
    bool started_ = false;
    bool didPrepareToQuit_ = false;
    bool toldLayoutRefusal_ = false;
};

} // namespace lumeno
