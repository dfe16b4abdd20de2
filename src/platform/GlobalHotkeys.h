#pragma once

#include <QtGlobal>
#include <functional>
#include <optional>
#include <variant>

namespace lumeno {

// The keyboard seen from outside the focused application. Key codes and modifier words are in the form of
// VirtualKeyCodes.h; a modifier word carries the generic flags and the side bits.
//
// Everything is reported on the main thread. Auto-repeat is never reported: a held key goes down once. A
// handler may unregister or stop watching while it runs.
class GlobalHotkeys {
public:
    using RegistrationId = quint64;

    enum class Refusal {
        taken,       // another application holds the combination
        noSuchKey,   // the keyboard has no key for that code
        unavailable, // this desktop lets no program take combinations
    };
    using Registration = std::variant<RegistrationId, Refusal>;

    // When a key went down or up, in milliseconds of the desktop's own clock (which wraps around); none where
    // the desktop does not say. Two such times tell how long a key was held even when both events are read
    // at once, as after this program was stopped or busy meanwhile.
    using KeyTime = std::optional<quint32>;

    // Passive watching: the keys still go where they were going.
    struct KeyWatch {
        std::function<void(quint64 modifiers, KeyTime time)> modifiersChanged; // a modifier key went down or up
        std::function<void(quint16 keyCode, quint64 modifiers)> keyDown;       // any other key went down
    };

    virtual ~GlobalHotkeys() = default;

    // Takes a key with exactly these generic modifiers for this program: while registered, its presses reach
    // `changed(true, …)` and its releases `changed(false, …)`, and never the focused application.
    virtual Registration registerCombination(quint16 keyCode, quint64 modifiers,
                                             std::function<void(bool down, KeyTime time)> changed) = 0;
    virtual void unregister(RegistrationId id) = 0;

    // Starts watching every key without taking any, combinations registered above included. False when the
    // desktop shows this program no other application's keys; the caller then polls ModifierState.
    virtual bool watch(KeyWatch watch) = 0;
    virtual void unwatch() = 0;

    // Makes the modifier keys held right now reach the application in front as part of a chord, not alone:
    // a key that types nothing goes down and up under them. Applications that act on a modifier pressed and
    // released alone (Alt opens the menu bar of Firefox, Thunderbird and KDE applications, taking the focus
    // from the field; some input methods switch on a lone Shift or Ctrl) then leave it alone. Nothing
    // happens where no such key can be sent.
    virtual void maskHeldModifiers() = 0;

    // Whether the desktop tells programs about this modifier (a side bit, or functionFlag) at all: fn is
    // usually handled by the keyboard itself and never seen.
    virtual bool reportsModifier(quint64 bit) const = 0;
};

} // namespace lumeno
