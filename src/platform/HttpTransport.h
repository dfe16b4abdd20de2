#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QCoroTask>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <variant>

namespace lumeno {

using HttpHeaders = QList<QPair<QByteArray, QByteArray>>;

struct HttpRequest {
    enum class Method { get, post, patch, del };

    Method method = Method::get;
    QUrl url;
    HttpHeaders headers;
    QByteArray body;
    // A longer answer is refused as soon as it says or shows so, never read whole (HttpFailure tooLarge).
    qint64 maxResponseBytes = 4 * 1024 * 1024;
    // When set, an answer that is not a success (an error page, a redirect) is read only this far, where
    // its message is, and then closed: HttpResponse::body holds its start. Otherwise it counts against
    // maxResponseBytes as any answer does.
    std::optional<qint64> maxErrorBodyBytes;
    // Told the number of bytes of the answer's body received so far, each time more arrives (a download's
    // progress bar); nothing when empty.
    std::function<void(qint64 received)> onProgress;
    // When set, a successful (2xx) answer's body is handed here piece by piece as it arrives instead of
    // being kept in HttpResponse::body (a download written to disk). Returning false stops the request,
    // which then ends as aborted.
    std::function<bool(QByteArrayView piece)> onBody;

    // The same request whoever watches it arrive.
    bool operator==(const HttpRequest& other) const {
        return method == other.method && url == other.url && headers == other.headers && body == other.body &&
               maxResponseBytes == other.maxResponseBytes && maxErrorBodyBytes == other.maxErrorBodyBytes;
    }
};

// Any answer the server gave, whatever its status: redirects included, since the transport never follows
// them (the caller decides where a token may go).
struct HttpResponse {
    int status = 0;
    HttpHeaders headers;
    QByteArray body;

    // The first header of that name, compared without case; empty when there is none.
    QByteArray header(const QByteArray& name) const;

    bool operator==(const HttpResponse&) const = default;
};

// No answer: the connection could not be made or secured, broke off, the caller aborted, or the answer
// was larger than the request allows.
struct HttpFailure {
    enum class Kind { network, aborted, tooLarge };

    Kind kind = Kind::network;
    QString reason; // for logs; never shown as is

    bool operator==(const HttpFailure&) const = default;
};

using HttpResult = std::variant<HttpResponse, HttpFailure>;

// Lets the caller end a running request early (its time-out). Copies share one state. The transport
// installs what aborting does; aborting before that makes the transport end the request at once.
class HttpAbort {
public:
    HttpAbort() : state_(std::make_shared<State>()) {}

    void abort() const;
    bool isAborted() const { return state_->aborted; }
    // Installed by the transport for the request in flight; called at once when already aborted.
    void setHandler(std::function<void()> handler) const;
    void clearHandler() const { state_->handler = nullptr; }

private:
    struct State {
        bool aborted = false;
        std::function<void()> handler;
    };
    std::shared_ptr<State> state_;
};

// The program's HTTP port. The request runs on the calling (main) thread's event loop; the task ends
// with the response or a failure and never throws.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual QCoro::Task<HttpResult> send(HttpRequest request, HttpAbort abort) = 0;
};

inline QByteArray HttpResponse::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

inline void HttpAbort::abort() const {
    if (state_->aborted)
        return;
    state_->aborted = true;
    if (auto handler = std::exchange(state_->handler, nullptr))
        handler();
}

inline void HttpAbort::setHandler(std::function<void()> handler) const {
    if (state_->aborted) {
        handler();
        return;
    }
    state_->handler = std::move(handler);
}

} // namespace lumeno
