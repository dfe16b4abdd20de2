#pragma once

#include <QtGlobal>

namespace lumeno {

// What the hot key did. Every press of the hot key (or of its edit combination) gets the next number, so
// events of one press can be told from those of the next.
struct HotkeyEvent {
    enum class Kind {
        down,          // the key went down
        holdBegan,     // it is being held: listening may start
        up,            // it was released after `heldFor` seconds
        interrupted,   // another key was pressed while a single modifier was held: the user is typing
        editRequested, // the edit modifier joined a hold that began as a reply
        escape,        // Escape went down (no press)
    };

    Kind kind = Kind::escape;
    quint64 press = 0;
    double heldFor = 0;
    bool edit = false; // the edit combination was used

    static HotkeyEvent down(quint64 press) { return {Kind::down, press, 0, false}; }
    static HotkeyEvent holdBegan(quint64 press, bool edit) { return {Kind::holdBegan, press, 0, edit}; }
    static HotkeyEvent up(quint64 press, double heldFor, bool edit) {
        return {Kind::up, press, heldFor, edit};
    }
    static HotkeyEvent interrupted(quint64 press) { return {Kind::interrupted, press, 0, false}; }
    static HotkeyEvent editRequested(quint64 press) { return {Kind::editRequested, press, 0, false}; }
    static HotkeyEvent escape() { return {}; }

    bool operator==(const HotkeyEvent&) const = default;
};

} // namespace lumeno
