#pragma once

#include "foundation/Hotkey.h"
#include "shell/UpdateController.h"

#include <QCoroTask>

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace lumeno {

class AppServices;
class WindowManager;

// The one application model: owns every service (AppServices), the windows and the updater, connects them
// at start, and carries what the menu bar shows (status line, attention, last draft) and the quit hold
// that keeps a desktop permission prompt from being torn down by a quit.
class AppModel : public QObject {
    Q_OBJECT
public:
    // How long quitting is held once a permission prompt shows, and after it was answered.
    static constexpr double promptHoldSeconds = 45;
    static constexpr double promptCloseHoldSeconds = 3;

    // Takes the services built over the platform (AppServices), for the whole run.
    AppModel(std::unique_ptr<AppServices> services, UpdateController::Factory makeUpdater, bool updatesEnabled,
             QObject* parent = nullptr);
    ~AppModel() override;

    // Set by main for the run; the model is never a global built before main.
    static AppModel* shared;

    AppServices& services() { return *services_; }
    WindowManager& windows() { return *windows_; }
    UpdateController& updates() { return updates_; }

    // Connects the hot key, the clipboard watch, the first-run guide, the account refresh, the updater and
    // the speech warm-up. Once.
    void start();
    // None on success or when nothing changed; otherwise why the desktop refused the key (the old key stays).
    std::optional<QString> applyHotkey(const Hotkey& hotkey);
    void beginPermissionPrompt();
    void endPermissionPrompt();
    // Whether a quit must wait for a permission prompt now.
    bool holdsQuit() const;
    // Stops the services once, before the application quits.
    void prepareToQuit();
    void finishGuide(bool showTips);
    // The user launched the program again while it runs: the settings window comes forward on the tab it
    // showed last, built first if it never was.
    void reopen();
    void prepareSpeech();

    bool needsAttention() const;
    QString statusLine() const;
    const std::optional<QString>& lastDraft() const { return lastDraft_; }
    const QDateTime& permissionPromptUntil() const { return permissionPromptUntil_; }
    bool didPrepareToQuit() const { return didPrepareToQuit_; }

signals:
    void lastDraftChanged();
    void permissionPromptUntilChanged();

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
    UpdateController updates_;
    std::unique_ptr<WindowManager> windows_;
    std::optional<QString> lastDraft_;
    QDateTime permissionPromptUntil_;
    QPointer<QWidget> windowBehindPrompt_;
    bool started_ = false;
    bool didPrepareToQuit_ = false;
    bool toldLayoutRefusal_ = false;
};

} // namespace lumeno
