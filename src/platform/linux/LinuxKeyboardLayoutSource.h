#pragma once

#include "platform/KeyboardLayoutSource.h"

struct _XDisplay;

namespace lumeno {

// The X server's current keyboard layout (and its active group), asked for each key. Without an X server
// no key has a character, so callers fall back to their own names and codes.
class LinuxKeyboardLayoutSource final : public KeyboardLayoutSource {
public:
    LinuxKeyboardLayoutSource();
    ~LinuxKeyboardLayoutSource() override;
    LinuxKeyboardLayoutSource(const LinuxKeyboardLayoutSource&) = delete;
    LinuxKeyboardLayoutSource& operator=(const LinuxKeyboardLayoutSource&) = delete;

    std::optional<QString> character(quint16 virtualKeyCode) const override;

    // The text of a key symbol: Latin-1 symbols and Unicode symbols; none for the rest (function keys,
    // dead keys, and the legacy non-Latin-1 symbol ranges).
    static std::optional<QString> textOfKeySymbol(unsigned long keySymbol);

private:
    _XDisplay* display_ = nullptr;
};

} // namespace lumeno
