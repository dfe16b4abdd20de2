#pragma once

#include "voice/HotkeyEvent.h"

#include <ostream>

namespace lumeno {

// Readable events in test failures: "up(3, 0.25 s, edit)".
inline void PrintTo(const HotkeyEvent& event, std::ostream* out) {
    switch (event.kind) {
    case HotkeyEvent::Kind::down:
        *out << "down(" << event.press << ")";
        break;
    case HotkeyEvent::Kind::holdBegan:
        *out << "holdBegan(" << event.press << (event.edit ? ", edit)" : ")");
        break;
    case HotkeyEvent::Kind::up:
        *out << "up(" << event.press << ", " << event.heldFor << " s" << (event.edit ? ", edit)" : ")");
        break;
    case HotkeyEvent::Kind::interrupted:
        *out << "interrupted(" << event.press << ")";
        break;
    case HotkeyEvent::Kind::editRequested:
        *out << "editRequested(" << event.press << ")";
        break;
    case HotkeyEvent::Kind::escape:
        *out << "escape";
        break;
    }
}

} // namespace lumeno
