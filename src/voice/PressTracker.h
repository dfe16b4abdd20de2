#pragma once

#include "platform/GlobalHotkeys.h"
#include "support/Scheduler.h"
#include "voice/HotkeyEvent.h"

#include <QDateTime>
#include <functional>
#include <optional>

namespace lumeno {

class Clock;

// Turns the hot key going down and up, and what happens meanwhile, into numbered HotkeyEvents. It does
// not know which key the hot key is; HotkeyService tells it.
//
// A press reports `down` at once and `holdBegan` holdDelay later if the key is still held. The short wait
// lets an edit modifier pressed together with the key count from the start, and keeps a quick tap, or a
// modifier that turns out to be part of typing, from flashing the listening overlay. It is short enough that
// listening starts within 100 ms of the key going down even when the key is only seen by polling at 30 Hz.
//
// How long the key was held comes from the desktop's times of the two events when it gave both, so a hold
// whose press and release are read together (the program was stopped meanwhile) still counts as a hold; the
// hold timer above runs on our own clock all the same, since it must begin listening while the key is down.
//
// A press spoiled by typing or by Escape reports nothing more, not even its release: otherwise the release
// of a short Alt+E would count as a tap and start hands-free listening.
class PressTracker {
public:
    static constexpr double holdDelay = 0.06;

    PressTracker(Scheduler& scheduler, const Clock& clock);
    ~PressTracker();
    PressTracker(const PressTracker&) = delete;
    PressTracker& operator=(const PressTracker&) = delete;

    std::function<void(const HotkeyEvent&)> onEvent = [](const HotkeyEvent&) {};

    // The hot key went down. `interruptible`: other keys mean the user is typing with it (a single
    // modifier); a combination is taken from the other applications, so nothing interrupts it. A press
    // still held ends first, as if released.
    // `at`: when the desktop saw it happen, where it says.
    void keyDown(bool edit, bool interruptible, GlobalHotkeys::KeyTime at = std::nullopt);
    void keyUp(GlobalHotkeys::KeyTime at = std::nullopt);
    // The edit modifier joined the held key.
    void editJoined();
    // Another key went down.
    void otherKeyDown();
    // Escape went down.
    void escape();
    // Forgets the held press without reporting anything. Numbering goes on: a later press must never take
    // the number of one the reply loop has already seen.
    void reset();

    bool isHeld() const { return held_.has_value(); }

private:
    struct Held {
        quint64 press = 0;
        QDateTime since;
        GlobalHotkeys::KeyTime pressedAt;
        bool edit = false;
        bool interruptible = false;
        bool holdBegan = false;
        bool spoiled = false;
        std::optional<Scheduler::TimerId> holdTimer;
    };

    double heldFor(const Held& held, GlobalHotkeys::KeyTime releasedAt) const;
    void beginHold();
    void spoil();
    void cancelHoldTimer();

    Scheduler& scheduler_;
    const Clock& clock_;
    quint64 lastPress_ = 0;
    std::optional<Held> held_;
};

} // namespace lumeno
