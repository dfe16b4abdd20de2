#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace lumeno {

// SIGTERM and SIGINT end the program cleanly: the handler only writes a byte to a pipe, and the event loop
// reads it and calls `onQuit` on the main thread, where stopping the services is safe.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

    std::function<void()> onQuit = [] {};

private:
    static void handle(int signal);
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace lumeno
