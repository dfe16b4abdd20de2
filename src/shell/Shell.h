#pragma once

#include "shell/UpdateController.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <memory>

namespace lumeno {

class AppModel;
class MenuBar;
class WindowManager;

// What the user sees of the program over the application model: the windows, the tray menu and the updater.
// Opens the windows the model and the reply loop ask for, finishes the first-run guide, and brings the user
// back to the window they were in once a desktop permission prompt was answered.
class Shell : public QObject {
    Q_OBJECT
public:
    Shell(AppModel& model, UpdateController::Factory makeUpdater, bool updatesEnabled, QObject* parent = nullptr);
    ~Shell() override;

    WindowManager& windows() { return *windows_; }
    MenuBar& menu() { return *menu_; }
    UpdateController& updates() { return updates_; }

    // Starts the updater and shows the tray icon.
    void start();
    // The user launched the program again while it runs: the settings window comes forward on the tab it
    // showed last, built first if it never was.
    void reopen();
    void finishGuide(bool showTips);

signals:
    // An update was installed and its new version has started: this copy must end now.
    void replacedByUpdate();

private:
    void rememberWindowBehindPrompt();
    void returnFromPrompt();

    AppModel& model_;
    UpdateController updates_;
    std::unique_ptr<WindowManager> windows_;
    std::unique_ptr<MenuBar> menu_;
    QPointer<QWidget> windowBehindPrompt_;
};

} // namespace lumeno
