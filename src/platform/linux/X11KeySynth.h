#pragma once

#include "platform/KeySynth.h"
#include "support/Scheduler.h"

#include <QtGlobal>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace lumeno {

class X11Keymap;
class X11SyntheticKeys;
class XcbConnection;

// Keys sent through XTest, on the program's own connection, with the key codes of the current keymap.
//
// A chord sent while the user still holds a modifier arrives with it (Ctrl+V with right Alt held is
// Ctrl+Alt+V, which pastes nothing): so keys wait, briefly, for the user to let go, and then release
// through XTest whatever is still held, without pressing it again afterwards. Keys posted meanwhile queue
// up and go out in order.
class X11KeySynth final : public KeySynth {
public:
    static constexpr double releaseWait = 1.0;
    static constexpr double releasePollInterval = 0.02;

    X11KeySynth(std::shared_ptr<XcbConnection> connection, std::shared_ptr<X11SyntheticKeys> synthetic,
                Scheduler& scheduler);
    ~X11KeySynth() override;
    X11KeySynth(const X11KeySynth&) = delete;
    X11KeySynth& operator=(const X11KeySynth&) = delete;

    // True when the key went out, or will once the modifiers are up.
    bool post(Key key) override;

    // The X key codes of a key and the Control it goes with.
    struct Chord {
        std::optional<quint8> control;
        quint8 key = 0;
        bool operator==(const Chord&) const = default;
    };
    // None when the keymap has no key for it: a layout without a Latin "v" in any group cannot paste by
    // key, and guessing a key code would type something else.
    static std::optional<Chord> chordFor(Key key, const X11Keymap& keymap);

private:
    std::vector<quint8> heldModifierKeys(const X11Keymap& keymap) const;
    void checkModifiers();
    bool sendQueued(const std::vector<quint8>& releaseFirst);

    std::shared_ptr<XcbConnection> x_;
    std::shared_ptr<X11SyntheticKeys> synthetic_;
    Scheduler& scheduler_;
    bool hasXTest_;
    std::deque<Chord> queued_;
    std::optional<Scheduler::TimerId> poll_;
    int pollsLeft_ = 0;
};

} // namespace lumeno
