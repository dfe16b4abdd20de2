#include "updates/FeedServer.h"

#include <QFile>
#include <httplib.h>

namespace lumeno::testing {

namespace {

constexpr size_t pieceBytes = 64 * 1024;

} // namespace

FeedServer::FeedServer(Scheme scheme) : scheme_(scheme) {
    if (scheme == Scheme::https)
        server_ = std::make_unique<httplib::SSLServer>(LUMENO_TLS_DATA_DIR "/loopback.pem",
                                                       LUMENO_TLS_DATA_DIR "/loopback.key");
    else
        server_ = std::make_unique<httplib::Server>();
    server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        std::unique_lock lock(mutex_);
        const QString path = QString::fromStdString(request.path);
        ++requests_[path];
        const auto found = files_.find(path);
        if (found == files_.end()) {
            response.status = 404;
            return;
        }
        const Entry entry = found->second;
        const auto hold = holds_.find(path);
        const qint64 holdAt = hold == holds_.end() ? -1 : hold->second;
        lock.unlock();
        response.status = entry.status;
        if (!entry.location.isEmpty()) {
            response.set_header("Location", entry.location.toStdString());
            response.set_content("<html><body>Moved</body></html>", "text/html");
            return;
        }
        if (!entry.file.isEmpty()) {
            auto file = std::make_shared<QFile>(entry.file);
            file->open(QIODevice::ReadOnly);
            response.set_content_provider(size_t(file->size()), "application/octet-stream",
                                          [file](size_t offset, size_t, httplib::DataSink& sink) {
                                              file->seek(qint64(offset));
                                              const QByteArray piece = file->read(pieceBytes);
                                              return !piece.isEmpty() && sink.write(piece.constData(), size_t(piece.size()));
                                          });
            return;
        }
        response.set_content_provider(size_t(entry.body.size()), entry.type.toStdString(),
                                      [this, body = entry.body, holdAt](size_t offset, size_t, httplib::DataSink& sink) {
                                          return send(body, offset, holdAt, sink);
                                      });
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    // Bound and listening already: requests wait in the backlog until the thread takes them.
    thread_ = std::thread([this] { server_->listen_after_bind(); });
}

bool FeedServer::send(const QByteArray& body, size_t offset, qint64 holdAt, httplib::DataSink& sink) {
    if (holdAt >= 0 && qint64(offset) >= holdAt) {
        std::unique_lock lock(mutex_);
        released_.wait(lock, [this] { return !holding_; });
    }
    size_t length = std::min(pieceBytes, size_t(body.size()) - offset);
    if (holdAt >= 0 && qint64(offset) < holdAt)
        length = std::min(length, size_t(holdAt) - offset);
    return sink.write(body.constData() + offset, length);
}

FeedServer::~FeedServer() {
    release();
    server_->stop();
    thread_.join();
}

QUrl FeedServer::url(const QString& path) const {
    return QUrl(QStringLiteral("%1://127.0.0.1:%2%3")
                    .arg(scheme_ == Scheme::https ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(port_)
                    .arg(path));
}

void FeedServer::serve(const QString& path, const QByteArray& body, const QString& type, int status) {
    std::lock_guard lock(mutex_);
    files_[path] = Entry{body, type, {}, {}, status};
}

void FeedServer::serveFile(const QString& path, const QString& file, int status) {
    std::lock_guard lock(mutex_);
    files_[path] = Entry{{}, {}, file, {}, status};
}

void FeedServer::redirect(const QString& path, const QByteArray& location, int status) {
    std::lock_guard lock(mutex_);
    files_[path] = Entry{{}, {}, {}, location, status};
}

void FeedServer::holdAfter(const QString& path, qint64 bytes) {
    std::lock_guard lock(mutex_);
    holds_[path] = bytes;
    holding_ = true;
}

void FeedServer::release() {
    {
        std::lock_guard lock(mutex_);
        holding_ = false;
    }
    released_.notify_all();
}

int FeedServer::requestsFor(const QString& path) const {
    std::lock_guard lock(mutex_);
    const auto found = requests_.find(path);
    return found == requests_.end() ? 0 : found->second;
}

} // namespace lumeno::testing
