#include "voice/PressTracker.h"

#include "support/Clock.h"

namespace lumeno {

PressTracker::PressTracker(Scheduler& scheduler, const Clock& clock) : scheduler_(scheduler), clock_(clock) {}

PressTracker::~PressTracker() {
    cancelHoldTimer();
}

void PressTracker::keyDown(bool edit, bool interruptible, GlobalHotkeys::KeyTime at) {
    if (held_)
        keyUp(at);
    const quint64 press = ++lastPress_;
    held_ = Held{.press = press,
                 .since = clock_.now(),
                 .pressedAt = at,
                 .edit = edit,
                 .interruptible = interruptible,
                 .holdTimer = scheduler_.after(holdDelay, [this] { beginHold(); })};
    onEvent(HotkeyEvent::down(press));
}

void PressTracker::keyUp(GlobalHotkeys::KeyTime at) {
    if (!held_)
        return;
    cancelHoldTimer();
    const Held released = *std::exchange(held_, std::nullopt);
    if (!released.spoiled)
        onEvent(HotkeyEvent::up(released.press, heldFor(released, at), released.edit));
}

double PressTracker::heldFor(const Held& held, GlobalHotkeys::KeyTime releasedAt) const {
    // Unsigned subtraction stays right across the desktop clock's wrap.
    if (held.pressedAt && releasedAt)
        return double(quint32(*releasedAt - *held.pressedAt)) / 1000.0;
    return double(held.since.msecsTo(clock_.now())) / 1000.0;
}

void PressTracker::editJoined() {
    if (!held_ || held_->spoiled || held_->edit)
        return;
    held_->edit = true;
    // Before the hold began, the press simply counts as an edit from the start.
    if (held_->holdBegan)
        onEvent(HotkeyEvent::editRequested(held_->press));
}

void PressTracker::otherKeyDown() {
    if (!held_ || !held_->interruptible || held_->spoiled)
        return;
    const quint64 press = held_->press;
    spoil();
    onEvent(HotkeyEvent::interrupted(press));
}

void PressTracker::escape() {
    if (held_)
        spoil();
    onEvent(HotkeyEvent::escape());
}

void PressTracker::reset() {
    cancelHoldTimer();
    held_.reset();
}

void PressTracker::beginHold() {
    held_->holdTimer.reset();
    held_->holdBegan = true;
    onEvent(HotkeyEvent::holdBegan(held_->press, held_->edit));
}

void PressTracker::spoil() {
    cancelHoldTimer();
    held_->spoiled = true;
}

void PressTracker::cancelHoldTimer() {
    if (held_ && held_->holdTimer)
        scheduler_.cancel(*std::exchange(held_->holdTimer, std::nullopt));
}

} // namespace lumeno
