#pragma once

#include "voice/HotkeyEvent.h"

#include <QString>
#include <optional>

namespace lumeno {

enum class ListenMode {
    hold,      // the user holds the key while speaking
    handsFree, // the user tapped the key; listening goes on until the next press
};

// The rule that makes one key serve four gestures: hold to talk, tap for hands-free, press again to
// finish, press to insert a pending draft. It holds no state: the reply loop passes its phase and the press
// it has consumed, and carries out the command.
class TriggerLogic {
public:
    // Where the reply loop stands.
    struct Phase {
        enum class Kind { idle, listening, busy, pending };

        Kind kind = Kind::idle;
        ListenMode mode = ListenMode::hold; // while listening
        // The press that started the listening; none once the press no longer owns it (a short hold that
        // turned into hands-free).
        std::optional<quint64> press;

        static Phase idle() { return {}; }
        static Phase listening(ListenMode mode, std::optional<quint64> press) {
            return {Kind::listening, mode, press};
        }
        static Phase busy() { return {Kind::busy, ListenMode::hold, std::nullopt}; }
        static Phase pending() { return {Kind::pending, ListenMode::hold, std::nullopt}; }

        bool isListening() const { return kind == Kind::listening; }
        // "idle", "busy", "pending", "listening(hold, press 3)", "listening(hands-free, no press)".
        QString description() const;

        bool operator==(const Phase&) const = default;
    };

    struct Command {
        enum class Kind {
            beginHold,      // start listening in hold mode
            beginHandsFree, // start listening in hands-free mode
            finish,         // stop listening and draft; `press`, when set, is to be marked consumed
            insertPending,  // insert the pending draft; `press` is to be marked consumed
            ignore,
            continueHandsFree, // the hold was short: keep listening hands-free
            switchToEdit,
            cancel,
        };

        Kind kind = Kind::ignore;
        std::optional<quint64> press;
        bool edit = false;

        static Command beginHold(quint64 press, bool edit) { return {Kind::beginHold, press, edit}; }
        static Command beginHandsFree(quint64 press, bool edit) {
            return {Kind::beginHandsFree, press, edit};
        }
        static Command finish(std::optional<quint64> consuming) { return {Kind::finish, consuming, false}; }
        static Command insertPending(quint64 consuming) { return {Kind::insertPending, consuming, false}; }
        static Command ignore() { return {}; }
        static Command continueHandsFree() { return {Kind::continueHandsFree, std::nullopt, false}; }
        static Command switchToEdit() { return {Kind::switchToEdit, std::nullopt, false}; }
        static Command cancel() { return {Kind::cancel, std::nullopt, false}; }

        bool operator==(const Command&) const = default;
    };

    // A release before this many seconds is a tap or a short hold.
    static constexpr double holdThreshold = 0.4;

    static Command command(const HotkeyEvent& event, const Phase& phase,
                           std::optional<quint64> consumedPress);
};

} // namespace lumeno
