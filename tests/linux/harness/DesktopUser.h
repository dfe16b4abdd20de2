#pragma once

#include <QtGlobal>

#include <memory>

namespace lumeno {
class XcbConnection;
}

namespace lumeno::desktop {

// The user's hands on the test desktop: key presses through XTest on a connection of their own, each one
// processed by the server before the call returns.
class DesktopUser {
public:
    // X key codes of a pc105 keyboard.
    static constexpr quint8 rightAlt = 108, leftAlt = 64, leftControl = 37, capsLock = 66, escape = 9,
                            letterA = 38, letterK = 45;

    DesktopUser();
    ~DesktopUser();

    bool isReady() const { return x_ != nullptr; }
    void press(quint8 keyCode);
    void release(quint8 keyCode);
    void tap(quint8 keyCode);

private:
    void send(quint8 type, quint8 keyCode);

    std::shared_ptr<XcbConnection> x_;
};

} // namespace lumeno::desktop
