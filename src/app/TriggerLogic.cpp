#include "app/TriggerLogic.h"

namespace lumeno {

namespace {

using Command = TriggerLogic::Command;
using Phase = TriggerLogic::Phase;

bool isHoldOf(const Phase& phase, quint64 press) {
    return phase.isListening() && phase.mode == ListenMode::hold && phase.press == press;
}

// Written so that a heldFor that is not a number counts as long.
bool isShort(double heldFor) {
    return heldFor < TriggerLogic::holdThreshold;
}

} // namespace

QString TriggerLogic::Phase::description() const {
    switch (kind) {
    case Kind::idle:
        return QStringLiteral("idle");
    case Kind::busy:
        return QStringLiteral("busy");
    case Kind::pending:
        return QStringLiteral("pending");
    case Kind::listening:
        break;
    }
    return QStringLiteral("listening(%1, %2)")
        .arg(mode == ListenMode::hold ? QStringLiteral("hold") : QStringLiteral("hands-free"),
             press ? QStringLiteral("press %1").arg(*press) : QStringLiteral("no press"));
}

Command TriggerLogic::command(const HotkeyEvent& event, const Phase& phase,
                              std::optional<quint64> consumedPress) {
    using Event = HotkeyEvent::Kind;
    if (event.kind == Event::escape)
        return Command::cancel();
    if (consumedPress == event.press)
        return Command::ignore();
    switch (event.kind) {
    case Event::down:
        if (phase.isListening() && phase.mode == ListenMode::handsFree)
            return Command::finish(event.press);
        if (phase.kind == Phase::Kind::pending)
            return Command::insertPending(event.press);
        return Command::ignore();
    case Event::holdBegan:
        return phase.kind == Phase::Kind::idle ? Command::beginHold(event.press, event.edit)
                                               : Command::ignore();
    case Event::up:
        if (phase.kind == Phase::Kind::idle)
            return isShort(event.heldFor) ? Command::beginHandsFree(event.press, event.edit)
                                          : Command::ignore();
        if (isHoldOf(phase, event.press))
            return isShort(event.heldFor) ? Command::continueHandsFree() : Command::finish(std::nullopt);
        return Command::ignore();
    case Event::interrupted:
        return isHoldOf(phase, event.press) ? Command::cancel() : Command::ignore();
    case Event::editRequested:
        return isHoldOf(phase, event.press) ? Command::switchToEdit() : Command::ignore();
    case Event::escape:
        break;
    }
    return Command::ignore();
}

} // namespace lumeno
