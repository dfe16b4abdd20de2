#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class Server;
class DataSink;
} // namespace httplib

namespace lumeno::testing {

// Serves files from memory or disk on a loopback port, over http or https (with the test authority's
// certificate), on its own thread, and counts what was asked for.
class FeedServer {
public:
    enum class Scheme { http, https };

    explicit FeedServer(Scheme scheme = Scheme::http);
    ~FeedServer();

    QUrl url(const QString& path) const;
    // Answers `path` with `body` and `status` (an error page, when not 200).
    void serve(const QString& path, const QByteArray& body, const QString& type = QStringLiteral("application/xml"),
               int status = 200);
    // Serves a file from the disk, read a piece at a time as it goes out.
    void serveFile(const QString& path, const QString& file, int status = 200);
    // Answers `path` with a redirect to `location` (as given: relative or absolute).
    void redirect(const QString& path, const QByteArray& location, int status = 302);
    // From now on `path` sends its first `bytes` and then waits until release() (or the server stops).
    void holdAfter(const QString& path, qint64 bytes);
    void release();
    int requestsFor(const QString& path) const;

private:
    struct Entry {
        QByteArray body;
        QString type;
        QString file;          // served from the disk when set
        QByteArray location;   // a redirect when set
        int status = 200;
    };
    // Sends `body` from `offset`, holding at `holdAt`.
    bool send(const QByteArray& body, size_t offset, qint64 holdAt, httplib::DataSink& sink);

    std::unique_ptr<httplib::Server> server_;
    Scheme scheme_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool holding_ = false;
    std::map<QString, Entry> files_;
    std::map<QString, qint64> holds_;
    std::map<QString, int> requests_;
};

} // namespace lumeno::testing
