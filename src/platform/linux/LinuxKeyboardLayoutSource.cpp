#include "platform/linux/LinuxKeyboardLayoutSource.h"

#include "platform/linux/X11KeyCodes.h"
#include "platform/linux/X11Keymap.h"
#include "platform/linux/XcbConnection.h"

#include <QGuiApplication>

#include <X11/keysym.h>

// xkb.h names a struct field `explicit`, which C++ reserves: it must come last, under another name.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

namespace lumeno {

namespace {

constexpr uint16_t watchedEvents = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                                   XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
constexpr uint16_t allMapParts = 0xff;

// The first event number of XKB on `x`, after asking to use it and to hear of keyboard, map and group
// changes; 0 when the server has no XKB.
quint8 selectLayoutEvents(XcbConnection& x) {
    const xcb_query_extension_reply_t* xkb = x.extension(xcb_xkb_id);
    if (!xkb)
        return 0;
    const auto used = x.reply(xcb_xkb_use_extension_reply, xcb_xkb_use_extension(x.get(), 1, 0));
    if (!used || !used->supported)
        return 0;
    // Every new keyboard and map change; of the state, only the group (the active layout): modifier changes
    // would wake the program on every Shift.
    const xcb_xkb_select_events_details_t details{.affectState = XCB_XKB_STATE_PART_GROUP_STATE,
                                                  .stateDetails = XCB_XKB_STATE_PART_GROUP_STATE};
    constexpr uint16_t everyDetail = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
    x.check(xcb_xkb_select_events_aux_checked(x.get(), XCB_XKB_ID_USE_CORE_KBD, watchedEvents, 0, everyDetail,
                                              allMapParts, allMapParts, &details));
    return xkb->first_event;
}

int currentGroup(XcbConnection& x) {
    const auto state = x.reply(xcb_xkb_get_state_reply, xcb_xkb_get_state(x.get(), XCB_XKB_ID_USE_CORE_KBD));
    return state ? state->group : 0;
}

// The core key map lists group 1's levels 1 and 2 first, then group 2's; further groups follow later
// levels and are read as group 1, as is a key that has nothing of its own in group 2.
constexpr int secondGroupColumn = 2;

} // namespace

LinuxKeyboardLayoutSource::LinuxKeyboardLayoutSource() : LinuxKeyboardLayoutSource(XcbConnection::open()) {}

LinuxKeyboardLayoutSource::LinuxKeyboardLayoutSource(std::shared_ptr<XcbConnection> connection)
    : x_(std::move(connection)) {
    if (!x_)
        return;
    xkbEvent_ = selectLayoutEvents(*x_);
    listener_ = x_->addListener([this](const xcb_generic_event_t& event) {
        handle(event.response_type & 0x7f, &event);
    });
    refresh();
}

LinuxKeyboardLayoutSource::~LinuxKeyboardLayoutSource() {
    if (x_)
        x_->removeListener(listener_);
}

std::optional<QString> LinuxKeyboardLayoutSource::character(quint16 virtualKeyCode) const {
    return textOfKeySymbol(symbolOf(virtualKeyCode));
}

KeyboardLayoutSource::KeyRole LinuxKeyboardLayoutSource::role(quint16 virtualKeyCode) const {
    return roleOfKeySymbol(symbolOf(virtualKeyCode));
}

std::optional<quint16> LinuxKeyboardLayoutSource::physicalKey(quint32 nativeScanCode) const {
    // Under X11 Qt gives the event's key code as its scan code; under another window system it is not ours.
    if (nativeScanCode == 0 || nativeScanCode > 0xff || QGuiApplication::platformName() != QLatin1String("xcb"))
        return std::nullopt;
    return X11KeyCodes::toVirtual(quint8(nativeScanCode));
}

std::optional<QString> LinuxKeyboardLayoutSource::textOfKeySymbol(unsigned long keySymbol) {
    // Symbols 0x20-0x7e and 0xa0-0xff are their Latin-1 characters; 0x01000000 + U marks Unicode U.
    const bool latin1 = (keySymbol >= 0x20 && keySymbol <= 0x7e) || (keySymbol >= 0xa0 && keySymbol <= 0xff);
    const bool unicode = keySymbol >= 0x010000a0 && keySymbol <= 0x0110ffff;
    if (!latin1 && !unicode)
        return std::nullopt;
    const char32_t codePoint = char32_t(unicode ? keySymbol - 0x01000000 : keySymbol);
    return QString::fromUcs4(&codePoint, 1);
}

KeyboardLayoutSource::KeyRole LinuxKeyboardLayoutSource::roleOfKeySymbol(unsigned long keySymbol) {
    switch (keySymbol) {
    case XK_ISO_Level3_Shift:
    case XK_ISO_Level3_Latch:
    case XK_ISO_Level3_Lock:
    case XK_ISO_Level5_Shift:
    case XK_ISO_Level5_Latch:
    case XK_ISO_Level5_Lock:
    case XK_Mode_switch:
        return KeyRole::characterShift;
    case XK_Multi_key:
        return KeyRole::compose;
    case XK_ISO_Group_Latch:
    case XK_ISO_Group_Lock:
    case XK_ISO_Next_Group:
    case XK_ISO_Next_Group_Lock:
    case XK_ISO_Prev_Group:
    case XK_ISO_Prev_Group_Lock:
    case XK_ISO_First_Group:
    case XK_ISO_First_Group_Lock:
    case XK_ISO_Last_Group:
    case XK_ISO_Last_Group_Lock:
    case 0xff31: // Hangul
    case 0xff34: // Hangul_Hanja
        return KeyRole::inputSwitch;
    default:
        return KeyRole::ordinary;
    }
}

void LinuxKeyboardLayoutSource::handle(quint8 type, const void* event) {
    if (type == XCB_MAPPING_NOTIFY) { // xmodmap and other core map changes
        refreshSoon();
        return;
    }
    if (!xkbEvent_ || type != xkbEvent_)
        return;
    // Every XKB event starts like this one: the kind of XKB event follows the common header.
    const auto* any = static_cast<const xcb_xkb_new_keyboard_notify_event_t*>(event);
    if (any->xkbType == XCB_XKB_STATE_NOTIFY) {
        const auto* state = static_cast<const xcb_xkb_state_notify_event_t*>(event);
        if (state->group == group_)
            return;
        group_ = state->group;
        emit changed();
        return;
    }
    if (any->xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || any->xkbType == XCB_XKB_MAP_NOTIFY)
        refreshSoon();
}

void LinuxKeyboardLayoutSource::refreshSoon() {
    // setxkbmap sends a burst of notifications: the map is read once after them.
    if (std::exchange(refreshPending_, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (refresh())
                emit changed();
        },
        Qt::QueuedConnection);
}

bool LinuxKeyboardLayoutSource::refresh() {
    refreshPending_ = false;
    std::optional<X11Keymap> keymap = X11Keymap::read(*x_);
    const int group = currentGroup(*x_);
    // Typing on another keyboard (or through XTest) announces a new keyboard with the same map.
    const bool same = group == group_ && bool(keymap) == bool(keymap_) && (!keymap || *keymap == *keymap_);
    keymap_ = keymap ? std::make_unique<X11Keymap>(std::move(*keymap)) : nullptr;
    group_ = group;
    return !same;
}

unsigned long LinuxKeyboardLayoutSource::symbolOf(quint16 virtualKeyCode) const {
    const std::optional<quint8> keyCode = X11KeyCodes::fromVirtual(virtualKeyCode);
    if (!keymap_ || !keyCode)
        return 0;
    if (group_ == 1)
        if (const xcb_keysym_t symbol = keymap_->symbol(*keyCode, secondGroupColumn))
            return symbol;
    return keymap_->symbol(*keyCode, 0);
}

} // namespace lumeno
