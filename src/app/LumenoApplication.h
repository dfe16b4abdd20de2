#pragma once

#include <QApplication>

#include <functional>

namespace lumeno {

// The one application object. Every quit request on the main thread (the menu's Quit, the desktop's
// session) arrives here as a quit event: it is refused while a desktop permission prompt holds quitting,
// and otherwise the services are stopped and the event loop ends, whatever windows are open. An exception that escapes an event
// handler is logged and dropped here rather than ending the whole program. Closing the last window never
// quits: the program lives on in the tray.
class LumenoApplication : public QApplication {
    Q_OBJECT
public:
    LumenoApplication(int& argc, char** argv);

    // Whether a quit must wait now (a permission prompt is up or has just closed). Never, until installed.
    std::function<bool()> holdsQuit = [] { return false; };
    // Runs when a quit is let through, before the event loop ends.
    std::function<void()> prepareToQuit = [] {};

    bool notify(QObject* receiver, QEvent* event) override;

protected:
    bool event(QEvent* event) override;
};

} // namespace lumeno
