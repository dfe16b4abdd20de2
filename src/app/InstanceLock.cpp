#include "app/InstanceLock.h"

#include <QDir>
#include <QLocalSocket>

namespace lumeno {

namespace {

// The whole request; anything else on the socket is ignored.
const QByteArray reopenRequest = QByteArrayLiteral("reopen\n");
// The launching copy waits this long for the running one; a copy that hangs must not hang the launch too.
constexpr int connectTimeoutMs = 2000;

} // namespace

InstanceLock::InstanceLock(const QString& directory, QObject* parent)
    : QObject(parent),
      lock_(QDir(directory).filePath(QStringLiteral("lumeno.lock"))),
      socketPath_(QDir(directory).filePath(QStringLiteral("lumeno.socket"))) {
    lock_.setStaleLockTime(0); // only a lock whose process is gone is stale, however old
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
        while (QLocalSocket* peer = server_.nextPendingConnection()) {
            QObject::connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            QObject::connect(peer, &QLocalSocket::readyRead, peer, [this, peer] { readRequest(peer); });
            readRequest(peer); // the request may have arrived with the connection
        }
    });
}

bool InstanceLock::acquire(std::chrono::milliseconds wait) {
    if (!lock_.tryLock(int(wait.count())))
        return false;
    listen();
    return true;
}

void InstanceLock::release() {
    // Closed first: closing removes the socket file, which by then could be the new holder's.
    server_.close();
    lock_.unlock();
}

void InstanceLock::listen() {
    // Holding the lock means any socket file here was left by a copy that ended without cleaning up.
    QLocalServer::removeServer(socketPath_);
    server_.listen(socketPath_); // without the channel this copy still runs; only reopening is lost
}

void InstanceLock::readRequest(QLocalSocket* peer) {
    if (peer->bytesAvailable() < reopenRequest.size())
        return;
    const QByteArray request = peer->read(reopenRequest.size());
    peer->disconnectFromServer();
    if (request == reopenRequest)
        emit reopenRequested();
}

bool InstanceLock::askRunningCopyToReopen() {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    socket.write(reopenRequest);
    const bool sent = socket.waitForBytesWritten(connectTimeoutMs);
    socket.disconnectFromServer();
    return sent;
}

} // namespace lumeno
