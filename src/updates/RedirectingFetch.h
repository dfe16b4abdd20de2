#pragma once

#include "platform/HttpTransport.h"

#include <QCoroTask>
#include <variant>

namespace lumeno {

// Fetches a feed or an archive the way release hosting serves them: behind a few redirects. Every hop
// must pass the server address rule (https, or http to this machine), and none may go from https to http.
namespace RedirectingFetch {

// At most this many redirects are followed for one fetch.
constexpr int maxRedirects = 5;

// A redirect that was not followed.
struct Refused {
    enum class Why { insecure, tooMany };
    Why why = Why::insecure;
    QString reason; // for logs
};

using Result = std::variant<HttpResponse, HttpFailure, Refused>;

// Sends `request`, and again to where each redirect points. The last answer is given back as it came,
// whatever its status; a redirect without a usable Location is such an answer.
QCoro::Task<Result> fetch(HttpTransport& transport, HttpRequest request, HttpAbort abort);

} // namespace RedirectingFetch

} // namespace lumeno
