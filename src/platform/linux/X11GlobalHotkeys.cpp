#include "platform/linux/X11GlobalHotkeys.h"

#include "platform/VirtualKeyCodes.h"
#include "platform/linux/X11KeyCodes.h"
#include "platform/linux/X11Keymap.h"
#include "platform/linux/X11SyntheticKeys.h"
#include "platform/linux/XcbConnection.h"
#include "support/Log.h"

#include <X11/keysym.h>
#include <xcb/xinput.h>
#include <xcb/xtest.h>

// xkb.h names a struct field `explicit`, which C++ reserves: it must come last, under another name.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

namespace lumeno {

namespace {

using namespace VirtualKey;

constexpr uint32_t rawEvents = XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE |
                               XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS;
constexpr quint8 badAccess = 10;
// Buttons 4 to 7 are the wheel: scrolling while holding the key is not doing something else.
constexpr quint32 firstWheelButton = 4, lastWheelButton = 7;

// Asks the server not to send a release before each repeated press of a held key.
void requestDetectableAutoRepeat(XcbConnection& x) {
    if (!x.extension(xcb_xkb_id))
        return;
    const auto used = x.reply(xcb_xkb_use_extension_reply, xcb_xkb_use_extension(x.get(), 1, 0));
    if (!used || !used->supported)
        return;
    x.reply(xcb_xkb_per_client_flags_reply,
            xcb_xkb_per_client_flags(x.get(), XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT,
                                     XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT, 0, 0, 0));
}

// XI 2.1 is the first version whose raw events reach a client while another one grabs the keyboard.
quint8 inputOpcodeWithRawEvents(XcbConnection& x) {
    const xcb_query_extension_reply_t* input = x.extension(xcb_input_id);
    if (!input)
        return 0;
    const auto version = x.reply(xcb_input_xi_query_version_reply, xcb_input_xi_query_version(x.get(), 2, 2));
    if (!version || version->major_version < 2 || (version->major_version == 2 && version->minor_version < 1))
        return 0;
    return input->major_opcode;
}

// The lock states a grab must cover so CapsLock or NumLock being on does not hide the combination.
std::vector<quint16> lockVariants(quint16 locks) {
    std::vector<quint16> variants;
    for (const quint16 variant : {quint16(0), quint16(XCB_MOD_MASK_LOCK), quint16(locks & ~XCB_MOD_MASK_LOCK), locks})
        if (std::find(variants.begin(), variants.end(), variant) == variants.end())
            variants.push_back(variant);
    return variants;
}

} // namespace

X11GlobalHotkeys::X11GlobalHotkeys(std::shared_ptr<XcbConnection> connection,
                                   std::shared_ptr<X11SyntheticKeys> synthetic)
    : x_(std::move(connection)), synthetic_(std::move(synthetic)) {
    requestDetectableAutoRepeat(*x_);
    inputOpcode_ = inputOpcodeWithRawEvents(*x_);
    hasXTest_ = x_->extension(xcb_test_id) != nullptr;
    listener_ = x_->addListener([this](const xcb_generic_event_t& event) { handle(event); });
}

X11GlobalHotkeys::~X11GlobalHotkeys() {
    unwatch();
    for (const auto& [id, grab] : grabs_)
        ungrab(grab);
    if (held_)
        releaseKeyboard();
    x_->flush();
    x_->removeListener(listener_);
}

GlobalHotkeys::Registration X11GlobalHotkeys::registerCombination(quint16 keyCode, quint64 modifiers,
                                                                  std::function<void(bool down, KeyTime time)> changed) {
    const std::optional<X11Keymap> keymap = X11Keymap::read(*x_);
    if (!keymap)
        return Refusal::unavailable;
    const std::optional<quint8> x11Key = X11KeyCodes::fromVirtual(keyCode);
    const std::optional<quint16> mask = modifierMask(modifiers, *keymap);
    if (!x11Key || !keymap->hasKey(*x11Key) || !mask)
        return Refusal::noSuchKey;

    Grab grab{*x11Key, *mask, quint16(XCB_MOD_MASK_LOCK | keymap->modifierMaskOf(XK_Num_Lock)), std::move(changed)};
    std::vector<xcb_void_cookie_t> requests;
    for (const quint16 locks : lockVariants(grab.locks))
        requests.push_back(xcb_grab_key_checked(x_->get(), 0, x_->root(), grab.modifiers | locks, grab.keyCode,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    std::optional<Refusal> refusal;
    for (const xcb_void_cookie_t request : requests)
        if (const auto error = x_->check(request); error && !refusal)
            refusal = error->error_code == badAccess ? Refusal::taken : Refusal::unavailable;
    if (refusal) {
        ungrab(grab); // the variants that did succeed
        x_->flush();
        Log::hotkey.error("The X server refused the key combination (key %{public}ld, modifiers %{public}ld)",
                         {qint64(grab.keyCode), qint64(grab.modifiers)});
        return *refusal;
    }
    // Registered again while held (the hot key installed anew): the press goes on, and its release ends it.
    grab.down = held_ && held_->keyCode == grab.keyCode && held_->modifiers == grab.modifiers;
    const RegistrationId id = nextId_++;
    grabs_.emplace(id, std::move(grab));
    return id;
}

void X11GlobalHotkeys::unregister(RegistrationId id) {
    const auto found = grabs_.find(id);
    if (found == grabs_.end())
        return;
    ungrab(found->second);
    grabs_.erase(found);
    x_->flush();
}

bool X11GlobalHotkeys::watch(KeyWatch watch) {
    if (!inputOpcode_ || !selectRawEvents(true))
        return false;
    xtestDevice_ = xtestKeyboard();
    const std::optional<X11Keymap> keymap = X11Keymap::read(*x_);
    maskKey_ = keymap ? keymap->unusedKeyCode() : std::nullopt;
    heldKeys_.clear();
    for (const xcb_keycode_t key : X11Keymap::heldKeys(*x_))
        heldKeys_.insert(key);
    watch_ = std::move(watch);
    synthetic_->setWatching(true);
    return true;
}

void X11GlobalHotkeys::unwatch() {
    if (!watch_)
        return;
    selectRawEvents(false);
    watch_.reset();
    synthetic_->setWatching(false);
}

bool X11GlobalHotkeys::reportsModifier(quint64 bit) const {
    // fn never leaves the keyboard; every other modifier key has its own key code.
    return bit != functionFlag;
}

void X11GlobalHotkeys::maskHeldModifiers() {
    if (!hasXTest_ || !maskKey_)
        return;
    for (const quint8 type : {quint8(XCB_KEY_PRESS), quint8(XCB_KEY_RELEASE)}) {
        synthetic_->sent(*maskKey_, type == XCB_KEY_PRESS);
        xcb_test_fake_input(x_->get(), type, *maskKey_, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }
    x_->flush();
}

std::optional<quint16> X11GlobalHotkeys::modifierMask(quint64 flags, const X11Keymap& keymap) {
    const std::pair<quint64, quint16> masks[] = {
        {shiftFlag, XCB_MOD_MASK_SHIFT},
        {controlFlag, XCB_MOD_MASK_CONTROL},
        {optionFlag, quint16(keymap.modifierMaskOf(XK_Alt_L) | keymap.modifierMaskOf(XK_Alt_R))},
        {commandFlag, quint16(keymap.modifierMaskOf(XK_Super_L) | keymap.modifierMaskOf(XK_Super_R))},
    };
    quint16 mask = 0;
    for (const auto& [flag, bits] : masks) {
        if (!(flags & flag))
            continue;
        if (!bits)
            return std::nullopt;
        mask |= bits;
    }
    return mask;
}

void X11GlobalHotkeys::ungrab(const Grab& grab) {
    for (const quint16 locks : lockVariants(grab.locks))
        xcb_ungrab_key(x_->get(), grab.keyCode, x_->root(), grab.modifiers | locks);
}

bool X11GlobalHotkeys::selectRawEvents(bool on) {
    struct {
        xcb_input_event_mask_t head;
        uint32_t mask;
    } selection{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, on ? rawEvents : 0};
    return !x_->check(xcb_input_xi_select_events_checked(x_->get(), x_->root(), 1, &selection.head));
}

std::optional<quint16> X11GlobalHotkeys::xtestKeyboard() {
    const auto devices =
        x_->reply(xcb_input_xi_query_device_reply, xcb_input_xi_query_device(x_->get(), XCB_INPUT_DEVICE_ALL));
    if (!devices)
        return std::nullopt;
    for (auto it = xcb_input_xi_query_device_infos_iterator(devices.get()); it.rem;
         xcb_input_xi_device_info_next(&it)) {
        const QByteArray name(xcb_input_xi_device_info_name(it.data), xcb_input_xi_device_info_name_length(it.data));
        if (it.data->type == XCB_INPUT_DEVICE_TYPE_SLAVE_KEYBOARD && name.contains("XTEST"))
            return it.data->deviceid;
    }
    return std::nullopt;
}

void X11GlobalHotkeys::handle(const xcb_generic_event_t& event) {
    const quint8 type = event.response_type & 0x7f;
    if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) {
        grabbedKey(reinterpret_cast<const xcb_key_press_event_t&>(event), type == XCB_KEY_PRESS);
        // Still held: the keyboard waits after each key it reports here until it is told to go on.
        if (held_) {
            xcb_allow_events(x_->get(), XCB_ALLOW_SYNC_KEYBOARD, XCB_CURRENT_TIME);
            x_->flush();
        }
        return;
    }
    if (type != XCB_GE_GENERIC || !watch_)
        return;
    const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
    if (generic.extension != inputOpcode_)
        return;
    switch (generic.event_type) {
    case XCB_INPUT_RAW_KEY_PRESS:
    case XCB_INPUT_RAW_KEY_RELEASE: {
        const auto& raw = reinterpret_cast<const xcb_input_raw_key_press_event_t&>(event);
        if (raw.detail < 256)
            rawKey(quint8(raw.detail), raw.sourceid, generic.event_type == XCB_INPUT_RAW_KEY_PRESS, raw.time);
        break;
    }
    case XCB_INPUT_RAW_BUTTON_PRESS:
        rawButton(reinterpret_cast<const xcb_input_raw_button_press_event_t&>(event).detail);
        break;
    }
}

void X11GlobalHotkeys::grabbedKey(const xcb_key_press_event_t& event, bool down) {
    if (!down) {
        released(event.detail, event.time);
        return;
    }
    for (auto& [id, grab] : grabs_) {
        if (grab.keyCode != event.detail || grab.down || (event.state & 0xff & ~grab.locks) != grab.modifiers)
            continue;
        grab.down = true;
        held_ = HeldKey{grab.keyCode, grab.modifiers};
        holdOnFocusWindow();
        const auto changed = grab.changed; // the handler may unregister
        changed(true, event.time);
        return;
    }
}

void X11GlobalHotkeys::released(quint8 keyCode, xcb_timestamp_t time) {
    // The keyboard is let go with the key even when its grab went meanwhile: nothing else would end the hold.
    if (held_ && held_->keyCode == keyCode)
        releaseKeyboard();
    for (auto& [id, grab] : grabs_) {
        if (grab.keyCode != keyCode || !grab.down)
            continue;
        grab.down = false;
        const auto changed = grab.changed;
        changed(false, time);
        return;
    }
}

void X11GlobalHotkeys::holdOnFocusWindow() {
    // The grab that just began is on the root window: the server told the focus window it lost the keyboard,
    // and its toolkit, and so the accessibility bus, now say nothing has the focus. Moved onto the focus
    // window itself, the grab gives the window its focus back while the keys still come here alone; the
    // key repeating while held then finds the keyboard grabbed already, and the focus stays put.
    const auto focus = x_->reply(xcb_get_input_focus_reply, xcb_get_input_focus(x_->get()));
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT ||
        focus->focus == x_->root())
        return;
    // That grab no longer ends with the key's release by itself, but only once the release is seen here; so
    // the keyboard waits after each key until then, and what the user types after letting go reaches the
    // window in order instead of coming here. Refused only when the window is not viewable: the grab on the
    // root window then goes on as it was.
    xcb_discard_reply(x_->get(), xcb_grab_keyboard(x_->get(), 0, focus->focus, XCB_CURRENT_TIME,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_SYNC)
                                     .sequence);
    xcb_allow_events(x_->get(), XCB_ALLOW_SYNC_KEYBOARD, XCB_CURRENT_TIME);
    x_->flush();
}

void X11GlobalHotkeys::releaseKeyboard() {
    xcb_ungrab_keyboard(x_->get(), XCB_CURRENT_TIME);
    x_->flush();
    held_.reset();
}

void X11GlobalHotkeys::rawKey(quint8 keyCode, quint16 sourceDevice, bool down, xcb_timestamp_t time) {
    if (sourceDevice == xtestDevice_ && synthetic_->take(keyCode, down))
        return;
    // A grab ends without a release when its window goes away during the hold; the raw release still comes.
    if (!down)
        released(keyCode, time);
    const quint64 before = heldModifiers();
    // Raw events carry no auto-repeat, but a key seen going down twice is still one press.
    if (down ? !heldKeys_.insert(keyCode).second : !heldKeys_.erase(keyCode))
        return;
    const auto watch = *watch_; // a handler may stop the watch
    if (X11KeyCodes::modifierBits(keyCode)) {
        if (const quint64 now = heldModifiers(); now != before)
            watch.modifiersChanged(now, time);
    } else if (down) {
        watch.keyDown(X11KeyCodes::toVirtual(keyCode).value_or(keyWithoutCode), heldModifiers());
    }
}

void X11GlobalHotkeys::rawButton(quint32 button) {
    if (button >= firstWheelButton && button <= lastWheelButton)
        return;
    const auto watch = *watch_;
    watch.keyDown(keyWithoutCode, heldModifiers());
}

quint64 X11GlobalHotkeys::heldModifiers() const {
    quint64 word = 0;
    for (const quint8 key : heldKeys_)
        word |= X11KeyCodes::modifierBits(key);
    return word;
}

} // namespace lumeno
