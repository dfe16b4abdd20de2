#pragma once

#include <QObject>

class QSocketNotifier;

namespace lumeno {

// SIGTERM and SIGINT end the program cleanly: the handler only writes a byte to a pipe, and the event loop
// reads it and tells of it on the main thread, where stopping the services is safe.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void quitRequested();

private:
    static void handle(int signal);
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace lumeno
