#pragma once

#include "details/DraftDetailsSwitches.h"
#include "details/ReportCopier.h"
#include "foundation/Hotkey.h"
#include "foundation/SettingsTab.h"
#include "shell/GuideSession.h"
#include "shell/HowToSession.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace lumeno {

class AccountStore;
class Clock;
class ContextPacker;
class DefaultsStore;
class DraftDetailsStore;
class DraftDetailsWindow;
class HotkeyService;
class KeyboardLayout;
class MemoryStore;
class ModifierState;
class Pasteboard;
class PermissionsGate;
class Scheduler;
class ScreenInfo;
class SettingsStore;
class SpeechCapture;
class StyleStore;
class HowToPanel;
class MemoryWindow;
class OnboardingView;
class SettingsWindow;
class SetupView;

// Builds every window of the program the first time it is asked for, keeps it when the user closes it and
// shows the same window again next time, in front of whatever else is open.
class WindowManager : public QObject {
    Q_OBJECT
public:
    // What the windows show and change.
    struct Services {
        const Clock& clock;
        Scheduler& scheduler;
        DefaultsStore& defaults;
        ScreenInfo& screens;
        Pasteboard& pasteboard;
        ModifierState& modifierState;
        const KeyboardLayout& keyboardLayout;
        SettingsStore& settings;
        AccountStore& account;
        PermissionsGate& permissions;
        SpeechCapture& speech;
        HotkeyService& hotkeys;
        MemoryStore& memory;
        StyleStore& style;
        DraftDetailsStore& draftDetails;
        ContextPacker& contextPacker;
        // Makes a hot key the user picked the one in use; none on success, else why the desktop refused it.
        std::function<std::optional<QString>(const Hotkey&)> applyHotkey;
    };

    explicit WindowManager(Services services, QObject* parent = nullptr);
    ~WindowManager() override;

    // Asks what the guide still needs (sign-in, name, speech language) and shows it from a fresh form.
    void showFirstRun();
    void showSetup();
    void showMemory();
    void showDraftDetails();
    void showHowToPopups();
    // The tips and the setup window together, side by side so that neither hides the other, the setup
    // window with the keyboard.
    void showTipsBesideSetup();
    // Without a tab, the window opens on the tab it showed last.
    void showSettings(std::optional<SettingsTab> tab = std::nullopt);

    GuideSession& guideSession() { return guideSession_; }
    HowToSession& howToSession() { return howToSession_; }
    DraftDetailsSwitches& draftDetailsSwitches() { return switches_; }

    // The windows built so far; null until first shown.
    // Whether any of the program's windows is on the screen.
    bool isAnyWindowShown() const;
    QWidget* setupWindow() const;
    QWidget* guideWindow() const;
    SettingsWindow* settingsWindow() const { return settingsWindow_.get(); }
    MemoryWindow* memoryWindow() const { return memoryWindow_.get(); }
    DraftDetailsWindow* draftDetailsWindow() const { return draftDetailsWindow_.get(); }
    HowToPanel* howToWindow() const { return howToWindow_.get(); }

    // Orders the guide out and closes the setup window, once the guide is finished.
    void putAwayFirstRun();
    // Saves the edits still pending in the windows, before the program quits.
    void keepPendingEdits();

signals:
    // The user went through the first-run guide to its end.
    void guideFinished();
    // The user chose the language they speak in the guide: the speech model can be made ready.
    void speechLanguageChosen();
    // The settings window was just built, before it first shows.
    void settingsWindowBuilt(SettingsWindow& window);

private:
    void buildGuideWindow();
    void buildSetupWindow();
    void buildHowToWindow();
    // The tips from their first page, the window made if need be.
    void startHowToOver();
    void buildSettingsWindow();
    QWidget* settingsContent(SettingsTab tab);

    Services s_;
    GuideSession guideSession_;
    HowToSession howToSession_;
    DraftDetailsSwitches switches_;
    ReportCopier copier_;

    std::unique_ptr<SetupView> setupWindow_;
    std::unique_ptr<SettingsWindow> settingsWindow_;
    std::unique_ptr<MemoryWindow> memoryWindow_;
    std::unique_ptr<DraftDetailsWindow> draftDetailsWindow_;
    std::unique_ptr<OnboardingView> guideWindow_;
    std::unique_ptr<HowToPanel> howToWindow_;
};

} // namespace lumeno
