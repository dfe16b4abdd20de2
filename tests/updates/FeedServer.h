#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class Server;
}

namespace lumeno::testing {

// Serves files from memory on a loopback port, on its own thread, and counts what was asked for.
class FeedServer {
public:
    FeedServer();
    ~FeedServer();

    QUrl url(const QString& path) const;
    void serve(const QString& path, const QByteArray& body, const QString& type = QStringLiteral("application/xml"));
    int requestsFor(const QString& path) const;

private:
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<QString, std::pair<QByteArray, QString>> files_;
    std::map<QString, int> requests_;
};

} // namespace lumeno::testing
