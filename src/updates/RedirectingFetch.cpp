#include "updates/RedirectingFetch.h"

#include "foundation/ServerAddress.h"

namespace lumeno {

namespace {

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Why `to` may not follow `from`; nothing when it may.
std::optional<QString> hopProblem(const QUrl& from, const QUrl& to) {
    if (!ServerAddress::isAccepted(to))
        return QStringLiteral("%1 redirects to %2, which is neither https nor this machine")
            .arg(from.toString(), to.toString());
    if (from.scheme() == QLatin1String("https") && to.scheme() != QLatin1String("https"))
        return QStringLiteral("%1 redirects from https to %2").arg(from.toString(), to.toString());
    return std::nullopt;
}

} // namespace

QCoro::Task<RedirectingFetch::Result> RedirectingFetch::fetch(HttpTransport& transport, HttpRequest request,
                                                              HttpAbort abort) {
    for (int redirects = 0;; ++redirects) {
        HttpResult result = co_await transport.send(request, abort);
        const HttpResponse* response = std::get_if<HttpResponse>(&result);
        if (!response)
            co_return std::get<HttpFailure>(std::move(result));
        const QByteArray location = response->header("Location");
        if (!isRedirect(response->status) || location.isEmpty())
            co_return std::move(*response);
        const QUrl next = request.url.resolved(QUrl::fromEncoded(location));
        if (!next.isValid())
            co_return std::move(*response);
        if (redirects == maxRedirects)
            co_return Refused{Refused::Why::tooMany,
                              QStringLiteral("more than %1 redirects, the last to %2").arg(maxRedirects).arg(next.toString())};
        if (const std::optional<QString> problem = hopProblem(request.url, next))
            co_return Refused{Refused::Why::insecure, *problem};
        request.url = next;
    }
}

} // namespace lumeno
