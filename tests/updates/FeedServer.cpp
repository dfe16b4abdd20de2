#include "updates/FeedServer.h"

#include <httplib.h>

namespace lumeno::testing {

FeedServer::FeedServer() : server_(std::make_unique<httplib::Server>()) {
    server_->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(mutex_);
        const QString path = QString::fromStdString(request.path);
        ++requests_[path];
        const auto file = files_.find(path);
        if (file == files_.end()) {
            response.status = 404;
            return;
        }
        const auto& [body, type] = file->second;
        response.set_content(body.toStdString(), type.toStdString());
    });
    port_ = server_->bind_to_any_port("127.0.0.1");
    // Bound and listening already: requests wait in the backlog until the thread takes them.
    thread_ = std::thread([this] { server_->listen_after_bind(); });
}

FeedServer::~FeedServer() {
    server_->stop();
    thread_.join();
}

QUrl FeedServer::url(const QString& path) const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path));
}

void FeedServer::serve(const QString& path, const QByteArray& body, const QString& type) {
    std::lock_guard lock(mutex_);
    files_[path] = {body, type};
}

int FeedServer::requestsFor(const QString& path) const {
    std::lock_guard lock(mutex_);
    const auto found = requests_.find(path);
    return found == requests_.end() ? 0 : found->second;
}

} // namespace lumeno::testing
