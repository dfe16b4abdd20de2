#pragma once

#include <QLockFile>
#include <QLocalServer>
#include <QObject>
#include <QString>

#include <chrono>

class QLocalSocket;

namespace lumeno {

// One running copy per user: a lock file in the user's runtime folder. The copy that holds it also listens
// on a local socket beside it, so a second launch can ask it to come forward before quitting quietly. A
// lock left by a copy that crashed is taken over (QLockFile sees its process gone), and so is its socket.
class InstanceLock : public QObject {
    Q_OBJECT
public:
    // `directory`: where the lock and the socket live (the runtime folder in the application, a temporary
    // one in tests).
    explicit InstanceLock(const QString& directory, QObject* parent = nullptr);

    // True when this process now holds the lock; from then on it hears reopen requests. `wait` is for the
    // new version started by an update: the copy it replaces still holds the lock while it quits.
    bool acquire(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
    // Gives the lock and the socket up while this copy goes on running: for the new version an update
    // starts, which takes them before it says it runs. acquire() takes them back.
    void release();
    // Asks the copy holding the lock to come forward. False when no copy answers on the socket.
    bool askRunningCopyToReopen();

signals:
    // Another launch asked this copy to come forward.
    void reopenRequested();

private:
    void listen();
    void readRequest(QLocalSocket* peer);

    QLockFile lock_;
    QString socketPath_;
    QLocalServer server_;
};

} // namespace lumeno
