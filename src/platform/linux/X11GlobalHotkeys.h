#pragma once

#include "platform/GlobalHotkeys.h"

#include <map>
#include <memory>
#include <optional>
#include <set>

#include <xcb/xcb.h>

namespace lumeno {

class X11Keymap;
class X11SyntheticKeys;
class XcbConnection;

// Hot keys on an X server, through the program's own connection.
//
// Combinations are core passive grabs on the root window, in every CapsLock/NumLock variant, all or
// nothing. Once pressed, the keyboard is held on the window with the input focus until the key's release,
// so that window keeps its focus (and the accessibility bus still shows its focused field) while no key
// reaches it; keys typed after the release wait for it to be seen here, then reach the window in order.
// The hold outlasts the combination's registration: registered again meanwhile, the press goes on. A held
// combination gives one press and one release: the server is asked for detectable auto-repeat, and
// repeated presses are dropped.
//
// Every press and release is reported with the server's time of the event, not when it was read here.
//
// Watching reads XI2 raw key events of all master devices: nothing is grabbed, so the keys still reach the
// focused application, and raw events keep arriving while another client grabs the keyboard (XI 2.1 and
// later). Modifier keys are known by key code, not by what the layout makes of them. Mouse buttons (not the
// wheel) count as other keys: a click during a hold means the user is doing something else.
class X11GlobalHotkeys final : public GlobalHotkeys {
public:
    // What keyDown reports for a key or button that has no virtual key code.
    static constexpr quint16 keyWithoutCode = 0xFFFF;

    X11GlobalHotkeys(std::shared_ptr<XcbConnection> connection, std::shared_ptr<X11SyntheticKeys> synthetic);
    ~X11GlobalHotkeys() override;
    X11GlobalHotkeys(const X11GlobalHotkeys&) = delete;
    X11GlobalHotkeys& operator=(const X11GlobalHotkeys&) = delete;

    Registration registerCombination(quint16 keyCode, quint64 modifiers,
                                     std::function<void(bool down, KeyTime time)> changed) override;
    void unregister(RegistrationId id) override;
    bool watch(KeyWatch watch) override;
    void unwatch() override;
    bool reportsModifier(quint64 bit) const override;
    // Sends, through XTest, a key code the keymap gives no symbol: applications get a key event under the
    // held modifiers and type nothing. The program's own key watch takes it out again.
    void maskHeldModifiers() override;

private:
    struct Grab {
        quint8 keyCode = 0;
        quint16 modifiers = 0; // X modifier mask
        quint16 locks = 0;     // CapsLock and NumLock masks, ignored when matching
        std::function<void(bool, KeyTime)> changed;
        bool down = false;
    };

    // The X modifier mask of generic modifier flags; none when the keymap lacks one of them.
    static std::optional<quint16> modifierMask(quint64 flags, const X11Keymap& keymap);
    void ungrab(const Grab& grab);
    bool selectRawEvents(bool on);
    std::optional<quint16> xtestKeyboard();
    void handle(const xcb_generic_event_t& event);
    void grabbedKey(const xcb_key_press_event_t& event, bool down);
    void released(quint8 keyCode, xcb_timestamp_t time);
    void holdOnFocusWindow();
    void releaseKeyboard();
    void rawKey(quint8 keyCode, quint16 sourceDevice, bool down, xcb_timestamp_t time);
    void rawButton(quint32 button);
    quint64 heldModifiers() const;

    std::shared_ptr<XcbConnection> x_;
    std::shared_ptr<X11SyntheticKeys> synthetic_;
    int listener_ = 0;
    quint8 inputOpcode_ = 0; // 0 until XI 2.1 was found
    std::map<RegistrationId, Grab> grabs_;
    RegistrationId nextId_ = 1;
    std::optional<KeyWatch> watch_;
    std::optional<quint16> xtestDevice_;
    bool hasXTest_ = false;
    std::optional<quint8> maskKey_; // chosen when the watch starts
    std::set<quint8> heldKeys_;
    struct HeldKey {
        quint8 keyCode = 0;
        quint16 modifiers = 0; // X modifier mask
    };
    // The combination held now: the keyboard is held with it, on the focus window, until its key's release.
    std::optional<HeldKey> held_;
};

} // namespace lumeno
