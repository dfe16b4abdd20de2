#pragma once

#include <QtGlobal>

#include <deque>

namespace lumeno {

// The keys the program itself sends through XTest, so the key watch can tell them from the user's. They
// come back in the raw key stream from the server's XTEST device, which remote-desktop tools type through
// too: only the exact events sent are taken out, never the whole device.
class X11SyntheticKeys {
public:
    // Only a running key watch takes sent keys out; without one nothing is noted.
    void setWatching(bool watching);
    void sent(quint8 keyCode, bool down);
    // True, once, for an event that was sent.
    bool take(quint8 keyCode, bool down);

    // More than any burst of keys the program sends: an event the server dropped (a release of a key that
    // was up already) must not stay noted for ever.
    static constexpr size_t limit = 32;

private:
    struct Sent {
        quint8 keyCode;
        bool down;
        bool operator==(const Sent&) const = default;
    };
    bool watching_ = false;
    std::deque<Sent> pending_;
};

} // namespace lumeno
