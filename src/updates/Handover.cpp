#include "updates/Handover.h"

#include <QSocketNotifier>

#include <csignal>
#include <poll.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace lumeno {

namespace {

const QByteArray announcement = QByteArrayLiteral("started\n");

} // namespace

SuccessorWatch::SuccessorWatch(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = server_.nextPendingConnection()) {
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] { readAnnouncement(peer); });
            readAnnouncement(peer);
        }
    });
}

SuccessorWatch::~SuccessorWatch() {
    if (pidFd_ >= 0)
        ::close(pidFd_);
}

std::optional<QString> SuccessorWatch::listen() {
    // Only one copy updates at a time (it holds the one-copy lock until now): a socket file here is a
    // leftover.
    QLocalServer::removeServer(socketPath_);
    if (!server_.listen(socketPath_))
        return server_.errorString();
    return std::nullopt;
}

void SuccessorWatch::watch(qint64 pid) {
    pid_ = pid;
    // A pidfd turns readable when the process ends, whoever its parent is (the program is started
    // detached). One that cannot be opened belongs to a process that is gone already.
    pidFd_ = int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
    if (pidFd_ < 0) {
        if (errno == ESRCH)
            QMetaObject::invokeMethod(this, &SuccessorWatch::processEnded, Qt::QueuedConnection);
        return; // a kernel without pidfds: the time bound alone decides
    }
    exitNotifier_ = new QSocketNotifier(pidFd_, QSocketNotifier::Read, this);
    connect(exitNotifier_, &QSocketNotifier::activated, this, &SuccessorWatch::processEnded);
}

void SuccessorWatch::readAnnouncement(QLocalSocket* peer) {
    if (peer->bytesAvailable() < announcement.size() || tookOver_ || ending_)
        return;
    if (peer->read(announcement.size()) != announcement)
        return;
    // The peer stays connected: hanging up is this copy's last word.
    tookOver_ = true;
    emit tookOver();
}

void SuccessorWatch::end() {
    if (ending_)
        return;
    ending_ = true; // too late to take over
    if (pidFd_ >= 0) {
        ::syscall(SYS_pidfd_send_signal, pidFd_, SIGKILL, nullptr, 0);
        return; // `processEnded` once it is gone
    }
    if (pid_ > 0)
        ::kill(pid_t(pid_), SIGKILL);
    processEnded();
}

bool SuccessorWatch::endNow() {
    ending_ = true;
    if (pidFd_ < 0)
        return false;
    ::syscall(SYS_pidfd_send_signal, pidFd_, SIGKILL, nullptr, 0);
    pollfd gone{pidFd_, POLLIN, 0};
    return ::poll(&gone, 1, 5000) == 1;
}

void SuccessorWatch::processEnded() {
    if (ended_)
        return;
    ended_ = ending_ = true;
    if (exitNotifier_)
        exitNotifier_->setEnabled(false);
    // Only now may a waiting new program hear a hang-up: it is gone.
    server_.close();
    for (QLocalSocket* peer : server_.findChildren<QLocalSocket*>())
        peer->abort();
    emit ended();
}

TakeoverNotice::TakeoverNotice(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)) {
    connect(&socket_, &QLocalSocket::connected, this, [this] { socket_.write(announcement); });
    connect(&socket_, &QLocalSocket::disconnected, this, &TakeoverNotice::finish);
    connect(&socket_, &QLocalSocket::errorOccurred, this, &TakeoverNotice::finish);
}

void TakeoverNotice::send() {
    socket_.connectToServer(socketPath_);
}

void TakeoverNotice::finish() {
    if (finished_)
        return;
    finished_ = true;
    emit finished();
}

} // namespace lumeno
