#include "platform/fake/FakeHttpTransport.h"

#include <algorithm>
#include <coroutine>

namespace lumeno {

struct FakeHttpTransport::Waiting {
    std::optional<HttpResult> result;
    std::coroutine_handle<> waiter;

    void finish(HttpResult value) {
        if (result)
            return;
        result = std::move(value);
        if (waiter)
            std::exchange(waiter, nullptr).resume();
    }

    struct Awaiter {
        std::shared_ptr<Waiting> waiting;
        bool await_ready() const noexcept { return waiting->result.has_value(); }
        void await_suspend(std::coroutine_handle<> handle) { waiting->waiter = handle; }
        HttpResult await_resume() { return *waiting->result; }
    };
};

namespace {

// A successful body goes to the request's receiver, when it has one, as the real transport hands it over.
HttpResult delivered(const HttpRequest& request, HttpResult result) {
    auto* response = std::get_if<HttpResponse>(&result);
    if (!response || !request.onBody || response->status / 100 != 2)
        return result;
    if (!request.onBody(response->body))
        return HttpFailure{HttpFailure::Kind::aborted, QStringLiteral("the receiver refused the answer's body")};
    response->body.clear();
    return result;
}

} // namespace

QCoro::Task<HttpResult> FakeHttpTransport::send(HttpRequest request, HttpAbort abort) {
    requests_.push_back(request);
    if (!queued_.empty()) {
        HttpResult result = std::move(queued_.front());
        queued_.pop_front();
        co_return delivered(request, std::move(result));
    }
    auto waiting = std::make_shared<Waiting>();
    waiting_.push_back(waiting);
    abort.setHandler([this, waiting] {
        std::erase(waiting_, waiting);
        waiting->finish(HttpFailure{HttpFailure::Kind::aborted, QStringLiteral("aborted")});
    });
    // A named awaiter: g++ 12 destroys a braced temporary in a co_await expression twice.
    Waiting::Awaiter awaiter{waiting};
    HttpResult result = co_await awaiter;
    abort.clearHandler();
    co_return delivered(request, std::move(result));
}

bool FakeHttpTransport::respond(HttpResult result, int position) {
    if (position < 0 || position >= int(waiting_.size()))
        return false;
    auto waiting = waiting_[size_t(position)];
    waiting_.erase(waiting_.begin() + position);
    waiting->finish(std::move(result));
    return true;
}

HttpResult FakeHttpTransport::json(int status, const QByteArray& body) {
    return HttpResponse{status, {{"Content-Type", "application/json"}}, body};
}

HttpResult FakeHttpTransport::empty(int status) {
    return HttpResponse{status, {}, {}};
}

HttpResult FakeHttpTransport::failure(HttpFailure::Kind kind) {
    return HttpFailure{kind, QStringLiteral("scripted failure")};
}

} // namespace lumeno
