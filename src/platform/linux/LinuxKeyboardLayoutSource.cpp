#include "platform/linux/LinuxKeyboardLayoutSource.h"

#include "platform/linux/X11KeyCodes.h"

// Xlib last: its macros (None, Bool, Status...) would otherwise clash with the headers above.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace lumeno {

LinuxKeyboardLayoutSource::LinuxKeyboardLayoutSource() {
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        display_ = XOpenDisplay(nullptr);
}

LinuxKeyboardLayoutSource::~LinuxKeyboardLayoutSource() {
    if (display_)
        XCloseDisplay(display_);
}

std::optional<QString> LinuxKeyboardLayoutSource::character(quint16 virtualKeyCode) const {
    const std::optional<quint8> keyCode = X11KeyCodes::fromVirtual(virtualKeyCode);
    if (!display_ || !keyCode)
        return std::nullopt;
    XkbStateRec state{};
    if (XkbGetState(display_, XkbUseCoreKbd, &state) != Success)
        return std::nullopt;
    return textOfKeySymbol(XkbKeycodeToKeysym(display_, *keyCode, state.group, 0));
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

} // namespace lumeno
