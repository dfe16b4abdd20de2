#pragma once

#include "platform/HttpTransport.h"

#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace lumeno {

// A scriptable server for tests. Answers queued with `enqueue` are given at once, in order; a request
// that finds the queue empty waits until the test calls `respond` (oldest waiting request first) or the
// caller aborts it. Every request is recorded. A successful answer's body goes to the request's onBody
// when it has one, as the real transport hands it over.
class FakeHttpTransport final : public HttpTransport {
public:
    QCoro::Task<HttpResult> send(HttpRequest request, HttpAbort abort) override;

    void enqueue(HttpResult result) { queued_.push_back(std::move(result)); }
    // Answers a waiting request, the oldest unless `position` picks a later one; false when there is none.
    bool respond(HttpResult result, int position = 0);

    const std::vector<HttpRequest>& requests() const { return requests_; }
    int waitingCount() const { return int(waiting_.size()); }

    // Ready-made answers.
    static HttpResult json(int status, const QByteArray& body);
    static HttpResult empty(int status);
    static HttpResult failure(HttpFailure::Kind kind = HttpFailure::Kind::network);

private:
    struct Waiting;
    std::vector<HttpRequest> requests_;
    std::deque<HttpResult> queued_;
    std::deque<std::shared_ptr<Waiting>> waiting_;
};

} // namespace lumeno
