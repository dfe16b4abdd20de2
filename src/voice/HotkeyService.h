#pragma once

#include "foundation/Hotkey.h"
#include "platform/GlobalHotkeys.h"
#include "support/Scheduler.h"
#include "voice/HotkeyEvent.h"
#include "voice/ModifierWatch.h"
#include "voice/PressTracker.h"

#include <QCoroTask>
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace lumeno {

class AccessibilityTrust;
class Clock;
class KeyboardLayoutSource;
class ModifierState;

// The global hot key. A single modifier is only watched, so typing with it keeps working everywhere; a key
// combination, and its edit combination, are registered with the desktop and taken from other
// applications. Either way the key's activity comes out as HotkeyEvents (see PressTracker), and Escape as
// `escape`. It also watches Accessibility trust, telling of each change.
class HotkeyService : public QObject {
    Q_OBJECT
public:
    struct Ports {
        GlobalHotkeys& hotkeys;
        ModifierState& modifiers;
        AccessibilityTrust& trust;
        const KeyboardLayoutSource& layout;
        Scheduler& scheduler;
        const Clock& clock;
    };

    static constexpr double trustCheckInterval = 2.0;
    // How often the modifiers are read when the desktop does not show other applications' keys.
    static constexpr double modifierPollInterval = 1.0 / 30.0;

    explicit HotkeyService(Ports ports, QObject* parent = nullptr);
    ~HotkeyService() override;

    // Starts watching for `hotkey`; once started, a later call only re-installs when the hot key changed.
    void start(const Hotkey& hotkey);
    // Nothing when `hotkey` is the current one; otherwise keeps it and, when started, installs it instead of
    // the old one, leaving registrationError() set when the desktop refuses it.
    void setHotkey(const Hotkey& hotkey);
    // Removes every registration, watch and timer and forgets the held press.
    void stop();

    const Hotkey& hotkey() const { return hotkey_; }
    bool isStarted() const { return started_; }
    // Why a single key can't be the hot key on this desktop and layout right now: the desktop does not
    // report it, or the layout types with it. None when it can be.
    std::optional<QString> refusal(ModifierKey key) const;
    // Why the last installed hot key does not work; none when it does.
    const std::optional<QString>& registrationError() const { return registrationError_; }
    // Why the last installed combination has no edit shortcut although it has an edit combination.
    const std::optional<QString>& editRegistrationError() const { return editRegistrationError_; }
    // Whether the desktop shows the service other applications' keys (else modifiers are polled and
    // neither typing nor Escape can be seen).
    bool isWatchingKeys() const { return watchingKeys_; }

signals:
    void hotkeyEvent(const HotkeyEvent& event);
    void trustChanged(bool trusted);
    // The keyboard layout made the hot key a key it types with (AltGr): at start, or when the layout
    // changed. The service has stopped watching the key; `why` is registrationError().
    void refusedByLayout(const QString& why);

private:
    void install();
    // `keepPress`: a press in progress goes on (its release still ends it), as when only the watch is
    // renewed; otherwise it is forgotten.
    void uninstall(bool keepPress = false);
    void installModifier(ModifierKey key);
    void installCombination(const KeyCombo& combo);
    std::optional<GlobalHotkeys::Refusal> registerCombination(const KeyCombo& combo, bool edit);
    bool watchKeys(bool withModifiers);
    void keyDown(quint16 keyCode, quint64 modifiers);
    bool isOwnCombination(quint16 keyCode, quint64 modifiers) const;
    QCoro::Task<> checkTrust();
    void layoutChanged();
    void reportLayoutRefusal();

    Ports ports_;
    Hotkey hotkey_;
    bool started_ = false;
    bool trusted_ = false;
    std::optional<QString> registrationError_;
    std::optional<QString> editRegistrationError_;
    PressTracker tracker_;
    std::optional<ModifierWatch> modifierWatch_;
    std::vector<GlobalHotkeys::RegistrationId> registrations_;
    std::vector<KeyCombo> ownCombinations_;
    bool watchingKeys_ = false;
    std::optional<Scheduler::TimerId> pollTimer_;
    std::optional<Scheduler::TimerId> trustTimer_;
    bool checkingTrust_ = false;
    // Checks of trust still waiting for the desktop see through it that the service is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    QMetaObject::Connection layoutWatch_;
    bool refusedByLayout_ = false;
};

} // namespace lumeno
