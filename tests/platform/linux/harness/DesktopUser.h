#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

namespace lumeno {
class XcbConnection;
}

namespace lumeno::desktop {

// The user's hands on the test desktop: key presses, typing, the pointer and clicks through XTest on a
// connection of their own, each one processed by the server before the call returns.
class DesktopUser {
public:
    // X key codes of a pc105 keyboard.
    static constexpr quint8 rightAlt = 108, leftAlt = 64, leftControl = 37, leftShift = 50, leftSuper = 133,
                            capsLock = 66, escape = 9, tab = 23, enter = 36, letterA = 38, letterK = 45,
                            letterR = 27;

    DesktopUser();
    ~DesktopUser();

    bool isReady() const { return x_ != nullptr; }
    void press(quint8 keyCode);
    void release(quint8 keyCode);
    // Lets the key go `milliseconds` later by the server's clock, as a user holding it that long; returns once
    // the server has done it. What was sent before is not held up.
    void releaseAfter(quint8 keyCode, quint32 milliseconds);
    void tap(quint8 keyCode);
    // Types `text` key by key (Shift where the layout needs it); false when a character has no key.
    bool type(const QString& text);
    // Moves the pointer to (x, y) on the screen.
    void moveTo(int x, int y);
    // Moves the pointer to (x, y) on the screen and clicks a button (the left one unless told) there.
    static constexpr quint8 leftButton = 1, rightButton = 3;
    void click(int x, int y, quint8 button = leftButton);
    // A button held down where the pointer is, and let go: a drag moves the pointer between the two.
    void pressButton(quint8 button = leftButton);
    void releaseButton(quint8 button = leftButton);

private:
    void send(quint8 type, quint8 detail, int x = 0, int y = 0, quint32 delayMs = 0);

    std::shared_ptr<XcbConnection> x_;
};

} // namespace lumeno::desktop
