#include "platform/linux/X11KeySynth.h"

#include "platform/linux/X11Keymap.h"
#include "platform/linux/X11SyntheticKeys.h"
#include "platform/linux/XcbConnection.h"
#include "support/Log.h"

#include <X11/keysym.h>
#include <xcb/xtest.h>

#include <algorithm>

namespace lumeno {

namespace {

QString nameOf(KeySynth::Key key) {
    switch (key) {
    case KeySynth::Key::paste: return QStringLiteral("paste (Ctrl+V)");
    case KeySynth::Key::selectAll: return QStringLiteral("select all (Ctrl+A)");
    case KeySynth::Key::undo: return QStringLiteral("undo (Ctrl+Z)");
    case KeySynth::Key::returnKey: break;
    }
    return QStringLiteral("Return");
}

} // namespace

X11KeySynth::X11KeySynth(std::shared_ptr<XcbConnection> connection, std::shared_ptr<X11SyntheticKeys> synthetic,
                         Scheduler& scheduler)
    : x_(std::move(connection)), synthetic_(std::move(synthetic)), scheduler_(scheduler),
      hasXTest_(x_->extension(xcb_test_id) != nullptr) {}

X11KeySynth::~X11KeySynth() {
    if (poll_)
        scheduler_.cancel(*poll_);
}

bool X11KeySynth::post(Key key) {
    if (!hasXTest_) {
        Log::insert.error("The X server has no XTest extension, so no key can be sent");
        return false;
    }
    const std::optional<X11Keymap> keymap = X11Keymap::read(*x_);
    if (!keymap)
        return false;
    const std::optional<Chord> chord = chordFor(key, *keymap);
    if (!chord) {
        Log::insert.error("The keyboard layout has no key for %{public}s", {nameOf(key)});
        return false;
    }
    queued_.push_back(*chord);
    if (poll_)
        return true; // goes out with the keys already waiting
    if (heldModifierKeys(*keymap).empty())
        return sendQueued({});
    pollsLeft_ = int(releaseWait / releasePollInterval);
    poll_ = scheduler_.every(releasePollInterval, [this] { checkModifiers(); });
    return true;
}

std::optional<X11KeySynth::Chord> X11KeySynth::chordFor(Key key, const X11Keymap& keymap) {
    const auto keyOf = [&](xcb_keysym_t symbol, xcb_keysym_t alternative) {
        const std::optional<xcb_keycode_t> key = keymap.keyCodeOf(symbol);
        return key ? key : keymap.keyCodeOf(alternative);
    };
    const std::optional<xcb_keycode_t> control = keyOf(XK_Control_L, XK_Control_R);
    const auto withControl = [&](xcb_keysym_t lower, xcb_keysym_t upper) -> std::optional<Chord> {
        const std::optional<xcb_keycode_t> letter = keyOf(lower, upper);
        if (!letter || !control)
            return std::nullopt;
        return Chord{*control, *letter};
    };
    switch (key) {
    case Key::paste: return withControl(XK_v, XK_V);
    case Key::selectAll: return withControl(XK_a, XK_A);
    case Key::undo: return withControl(XK_z, XK_Z);
    case Key::returnKey: break;
    }
    const std::optional<xcb_keycode_t> returnKey = keyOf(XK_Return, XK_KP_Enter);
    return returnKey ? std::optional(Chord{std::nullopt, *returnKey}) : std::nullopt;
}

std::vector<quint8> X11KeySynth::heldModifierKeys(const X11Keymap& keymap) const {
    const std::vector<xcb_keycode_t> modifiers = keymap.modifierKeyCodes();
    std::vector<quint8> held;
    for (const xcb_keycode_t key : X11Keymap::heldKeys(*x_))
        if (std::find(modifiers.begin(), modifiers.end(), key) != modifiers.end())
            held.push_back(key);
    return held;
}

void X11KeySynth::checkModifiers() {
    const std::optional<X11Keymap> keymap = X11Keymap::read(*x_);
    const std::vector<quint8> held = keymap ? heldModifierKeys(*keymap) : std::vector<quint8>();
    if (!held.empty() && --pollsLeft_ > 0)
        return;
    scheduler_.cancel(*std::exchange(poll_, std::nullopt));
    if (!held.empty())
        Log::insert.info("Modifier keys still held after %{public}ld ms: released before sending keys",
                         {qint64(releaseWait * 1000)});
    if (!sendQueued(held))
        Log::insert.error("The X server refused the synthetic keys");
}

bool X11KeySynth::sendQueued(const std::vector<quint8>& releaseFirst) {
    std::vector<xcb_void_cookie_t> requests;
    const auto fake = [&](quint8 type, quint8 keyCode) {
        synthetic_->sent(keyCode, type == XCB_KEY_PRESS);
        requests.push_back(xcb_test_fake_input_checked(x_->get(), type, keyCode, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0));
    };
    for (const quint8 key : releaseFirst)
        fake(XCB_KEY_RELEASE, key);
    for (; !queued_.empty(); queued_.pop_front()) {
        const Chord& chord = queued_.front();
        if (chord.control)
            fake(XCB_KEY_PRESS, *chord.control);
        fake(XCB_KEY_PRESS, chord.key);
        fake(XCB_KEY_RELEASE, chord.key);
        if (chord.control)
            fake(XCB_KEY_RELEASE, *chord.control);
    }
    bool accepted = true;
    for (const xcb_void_cookie_t request : requests)
        accepted = !x_->check(request) && accepted;
    return accepted;
}

} // namespace lumeno
