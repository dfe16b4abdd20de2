#pragma once

namespace lumeno {

// Synthetic key presses sent to the application in front, as if the user typed them.
class KeySynth {
public:
    enum class Key {
        paste,     // Ctrl+V
        selectAll, // Ctrl+A
        undo,      // Ctrl+Z
        returnKey, // Return
    };

    virtual ~KeySynth() = default;

    // Posts the key with its modifiers, down and up; false when the desktop would not take the event.
    virtual bool post(Key key) = 0;
};

} // namespace lumeno
