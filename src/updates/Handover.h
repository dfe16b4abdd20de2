#pragma once

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QString>

#include <optional>

class QSocketNotifier;

namespace lumeno {

// How a new version started by an update tells the copy that started it that it has taken over. The old
// copy listens on a local socket in the runtime folder before it starts the new one, and watches the new
// process. The new one connects once it holds the one-copy lock and its event loop runs, and writes
// "started"; the old copy then quits, and its hanging up tells the new one that nothing will be put back
// any more. Should the new process end first, or not say so in time, the old copy ends it and waits until
// it is gone before it puts anything back.

// The old copy's side: the new process, from its start until it has taken over or is gone.
class SuccessorWatch : public QObject {
    Q_OBJECT
public:
    explicit SuccessorWatch(QString socketPath, QObject* parent = nullptr);
    ~SuccessorWatch() override;

    // Listens for the new program; the reason when it cannot.
    std::optional<QString> listen();
    // Watches process `pid`, the new program.
    void watch(qint64 pid);
    // Ends the new program if it still runs; `ended` follows once it is gone.
    void end();
    // Whether the new program may still take over: it has neither said so nor ended, nor been given up.
    bool isWaiting() const { return !tookOver_ && !ending_; }
    // Ends the new program and waits, at most a few seconds, until it is gone: for a copy that quits while
    // waiting, with no event loop left. False when it may still run.
    bool endNow();

signals:
    // The new program holds the one-copy lock and its event loop runs.
    void tookOver();
    // The new program is gone (it ended on its own, or end() ended it); nothing listens any more.
    void ended();

private:
    void readAnnouncement(QLocalSocket* peer);
    void processEnded();

    QLocalServer server_;
    QString socketPath_;
    qint64 pid_ = 0;
    int pidFd_ = -1;
    QSocketNotifier* exitNotifier_ = nullptr;
    bool tookOver_ = false;
    bool ending_ = false; // end() was called, or the process ended
    bool ended_ = false;
};

// The new copy's side.
class TakeoverNotice : public QObject {
    Q_OBJECT
public:
    explicit TakeoverNotice(QString socketPath, QObject* parent = nullptr);

    // Tells the old copy that this one runs; call it from the event loop, holding the one-copy lock.
    void send();

signals:
    // The old copy has hung up, or none listens (it quit already: it kept the lock until it did): the
    // replaced version can go.
    void finished();

private:
    void finish();

    QLocalSocket socket_;
    QString socketPath_;
    bool finished_ = false;
};

} // namespace lumeno
