#include "account/ServerAPI.h"

#include "foundation/ServerAddress.h"
#include "support/Json.h"
#include "support/Log.h"
#include "support/Scheduler.h"
#include "support/Text.h"

#include <QJsonArray>

namespace lumeno {

namespace {

constexpr int maxRedirects = 3;

bool sameOrigin(const QUrl& a, const QUrl& b) {
    const auto defaultPort = [](const QUrl& url) {
        return url.scheme() == QLatin1String("https") ? 443 : 80;
    };
    return a.scheme() == b.scheme() && a.host().compare(b.host(), Qt::CaseInsensitive) == 0 &&
           a.port(defaultPort(a)) == b.port(defaultPort(b));
}

ServerAPI::Error::Kind kindForStatus(int status) {
    using Kind = ServerAPI::Error::Kind;
    switch (status) {
    case 401:
        return Kind::unauthorized;
    case 402:
        return Kind::paymentRequired;
    case 429:
        return Kind::rateLimited;
    default:
        return status >= 400 && status < 500 ? Kind::refused : Kind::server;
    }
}

// The error body is read leniently: whatever cannot be read is left empty, the status still counts.
ServerAPI::Error errorFromAnswer(const HttpResponse& response) {
    ServerAPI::Error error{kindForStatus(response.status), response.status, {}, {}, {}};
    const std::optional<QJsonValue> document = Json::parse(response.body);
    if (!document || !document->isObject())
        return error;
    const QJsonValue body = document->toObject().value(QLatin1String("error"));
    error.code = body[QLatin1String("code")].toString();
    error.message = Text::trimmed(body[QLatin1String("message")].toString());
    return error;
}

QString loggedPath(const HttpRequest& request) {
    return request.url.path();
}

} // namespace

ServerAPI::ServerAPI(QUrl baseURL, std::shared_ptr<HttpTransport> transport, Scheduler& scheduler,
                     Timeouts timeouts)
    : baseURL_(std::move(baseURL)), transport_(std::move(transport)), scheduler_(scheduler),
      timeouts_(timeouts) {}

ServerAPI::ServerAPI(QUrl baseURL, std::shared_ptr<HttpTransport> transport, Scheduler& scheduler)
    : ServerAPI(std::move(baseURL), std::move(transport), scheduler, Timeouts{}) {}

QString ServerAPI::bundleURL() {
    return QStringLiteral(LUMENO_API_BASE_URL);
}

std::optional<QUrl> ServerAPI::acceptedBaseURL(const QString& text) {
    const QUrl url(Text::trimmed(text), QUrl::StrictMode);
    if (!ServerAddress::isAccepted(url) || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    QUrl base = url;
    QString path = base.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    base.setPath(path);
    return base;
}

std::shared_ptr<ServerAPI> ServerAPI::live(const QString& bundleURL, const QProcessEnvironment& environment,
                                           std::shared_ptr<HttpTransport> transport, Scheduler& scheduler) {
    const QString fromEnvironment = Text::trimmed(environment.value(QStringLiteral("LUMENO_API_URL")));
    const QString chosen = fromEnvironment.isEmpty() ? Text::trimmed(bundleURL) : fromEnvironment;
    if (chosen.isEmpty())
        return nullptr;
    const std::optional<QUrl> base = acceptedBaseURL(chosen);
    if (!base) {
        // The refused address is not logged: it may carry a password.
        Log::app.error(
            "Server address refused: only https, or http to this machine, is accepted (%{public}s)",
            {fromEnvironment.isEmpty() ? QStringLiteral("build setting") : QStringLiteral("LUMENO_API_URL")});
        return nullptr;
    }
    return std::make_shared<ServerAPI>(*base, std::move(transport), scheduler);
}

const QByteArray& ServerAPI::userAgent() {
    static const QByteArray agent = QByteArrayLiteral("Lumeno/1.0 (Linux)");
    return agent;
}

bool ServerAPI::isUsableToken(const QString& token) {
    if (token.isEmpty() || token.size() > 4096)
        return false;
    return std::all_of(token.begin(), token.end(),
                       [](QChar c) { return c.unicode() > 0x20 && c.unicode() < 0x7f; });
}

HttpRequest ServerAPI::request(const Call& call) const {
    HttpRequest request;
    request.method = call.method;
    request.url = baseURL_;
    request.url.setPath(baseURL_.path() + QStringLiteral("/v1/") + call.path);
    request.headers.emplaceBack("Accept", "application/json");
    request.headers.emplaceBack("User-Agent", userAgent());
    if (call.token)
        request.headers.emplaceBack("Authorization", "Bearer " + call.token->toLatin1());
    if (call.body) {
        request.headers.emplaceBack("Content-Type", "application/json");
        request.body = Json::write(*call.body, Json::Style::compact);
    }
    return request;
}

QCoro::Task<HttpResult> ServerAPI::sendTimed(std::shared_ptr<HttpTransport> transport, Scheduler& scheduler,
                                             HttpRequest request, double timeout, CancelToken cancel,
                                             bool* timedOut) {
    HttpAbort abort;
    cancel.onCancel([abort] { abort.abort(); });
    auto expired = std::make_shared<bool>(false);
    const std::weak_ptr<const void> schedulerLifetime = scheduler.lifetime();
    // The time-out dropped unrun means its scheduler is going with the program: nobody is left to time the
    // request out or to take its answer, so the request ends then instead of waiting for ever.
    auto answered = std::make_shared<bool>(false);
    std::shared_ptr<void> endWhenDropped(nullptr, [abort, answered](void*) {
        if (!*answered)
            abort.abort();
    });
    const Scheduler::TimerId timer =
        scheduler.after(timeout, [abort, expired, endWhenDropped = std::move(endWhenDropped)] {
            *expired = true;
            abort.abort();
        });
    HttpResult result = co_await transport->send(std::move(request), abort);
    *answered = true;
    // An answer that comes after the scheduler has gone (the program is ending) finds its timer gone too.
    if (!schedulerLifetime.expired())
        scheduler.cancel(timer);
    *timedOut = *expired;
    co_return result;
}

QCoro::Task<ServerAPI::Result<QJsonObject>> ServerAPI::exchange(Call call, CancelToken cancel) {
    // Nothing of the client is touched after the first wait: it may be gone by the time the answer comes,
    // and so may the scheduler.
    HttpRequest request = this->request(call);
    const std::shared_ptr<HttpTransport> transport = transport_;
    Scheduler& scheduler = scheduler_;
    const std::weak_ptr<const void> schedulerLifetime = scheduler.lifetime();
    for (int redirects = 0;; ++redirects) {
        if (schedulerLifetime.expired()) // a redirect answered while the program ends is not followed
            co_return Error{Error::Kind::network, 0, {}, {}, loggedPath(request) + QStringLiteral(": ending")};
        bool timedOut = false;
        HttpResult result = co_await sendTimed(transport, scheduler, request, call.timeout, cancel, &timedOut);
        if (const auto* failure = std::get_if<HttpFailure>(&result)) {
            // An answer too large to take is the server's fault, not the connection's.
            const Error::Kind kind = failure->kind == HttpFailure::Kind::tooLarge ? Error::Kind::server
                                     : timedOut                                  ? Error::Kind::timeout
                                                                                 : Error::Kind::network;
            co_return Error{kind,
                            0,
                            {},
                            {},
                            loggedPath(request) + QStringLiteral(": ") + failure->reason};
        }
        const HttpResponse& response = std::get<HttpResponse>(result);
        if (response.status >= 300 && response.status < 400) {
            // Only a same-origin 307/308 keeps method, body and token; anything else would either change
            // the request or hand the token to someone else.
            const QUrl target = request.url.resolved(QUrl(QString::fromUtf8(response.header("Location"))));
            const bool followable = (response.status == 307 || response.status == 308) && target.isValid() &&
                                    sameOrigin(target, request.url) && redirects < maxRedirects;
            if (!followable) {
                co_return Error{Error::Kind::server,
                                response.status,
                                {},
                                {},
                                loggedPath(request) + QStringLiteral(": redirect not followed")};
            }
            request.url = target;
            continue;
        }
        if (response.status < 200 || response.status >= 300) {
            Error error = errorFromAnswer(response);
            error.reason = loggedPath(request);
            co_return error;
        }
        if (Text::trimmed(QString::fromUtf8(response.body)).isEmpty())
            co_return QJsonObject{};
        QString parseError;
        const std::optional<QJsonValue> document = Json::parse(response.body, &parseError);
        if (!document || !document->isObject()) {
            co_return Error{Error::Kind::server,
                            response.status,
                            {},
                            {},
                            loggedPath(request) + QStringLiteral(": answer is not a JSON object")};
        }
        co_return document->toObject();
    }
}

template <typename T, typename Read>
QCoro::Task<ServerAPI::Result<T>> ServerAPI::fetch(Call call, Read read, CancelToken cancel) {
    const Result<QJsonObject> answer = co_await exchange(std::move(call), std::move(cancel));
    if (const auto* error = std::get_if<Error>(&answer))
        co_return *error;
    JsonReader reader(std::get<QJsonObject>(answer));
    T value = read(reader);
    if (!reader.ok())
        co_return Error{
            Error::Kind::server, 0, {}, {}, QStringLiteral("answer could not be read: ") + reader.error()};
    co_return Result<T>(std::move(value));
}

QCoro::Task<ServerAPI::Result<ServerAPI::Done>> ServerAPI::fetchNothing(Call call) {
    return fetch<Done>(std::move(call), [](JsonReader&) { return Done{}; });
}

QCoro::Task<ServerAPI::Result<ServerAPI::Done>> ServerAPI::requestCode(QString email) {
    Call call{HttpRequest::Method::post, QStringLiteral("auth/code"), std::nullopt,
              QJsonObject{{QStringLiteral("email"), email}}, timeouts_.account};
    return fetchNothing(std::move(call));
}

QCoro::Task<ServerAPI::Result<ServerAPI::SignIn>> ServerAPI::verify(QString email, QString code, QString name,
                                                                    QString device) {
    const QJsonObject body{{QStringLiteral("email"), email},
                           {QStringLiteral("code"), code},
                           {QStringLiteral("name"), name},
                           {QStringLiteral("device"), device}};
    Call call{HttpRequest::Method::post, QStringLiteral("auth/verify"), std::nullopt, body,
              timeouts_.account};
    return fetch<SignIn>(std::move(call), [](JsonReader& reader) {
        SignIn signIn;
        signIn.token = reader.string(QStringLiteral("token"));
        signIn.account = readAccount(reader);
        if (reader.ok() && !isUsableToken(signIn.token))
            reader.fail(QStringLiteral("token is not printable ASCII"));
        return signIn;
    });
}

QCoro::Task<ServerAPI::Result<ServerAPI::Done>> ServerAPI::logout(QString token) {
    Call call{HttpRequest::Method::post, QStringLiteral("auth/logout"), token, std::nullopt,
              timeouts_.account};
    return fetchNothing(std::move(call));
}

QCoro::Task<ServerAPI::Result<ServerAPI::Account>> ServerAPI::me(QString token) {
    Call call{HttpRequest::Method::get, QStringLiteral("me"), token, std::nullopt, timeouts_.account};
    return fetch<Account>(std::move(call), readAccount);
}

QCoro::Task<ServerAPI::Result<ServerAPI::User>> ServerAPI::rename(QString token, QString name) {
    Call call{HttpRequest::Method::patch, QStringLiteral("account"), token,
              QJsonObject{{QStringLiteral("name"), name}}, timeouts_.account};
    return fetch<User>(std::move(call), readUserAnswer);
}

QCoro::Task<ServerAPI::Result<ServerAPI::Done>> ServerAPI::deleteAccount(QString token) {
    Call call{HttpRequest::Method::del, QStringLiteral("account"), token, std::nullopt, timeouts_.account};
    return fetchNothing(std::move(call));
}

QCoro::Task<ServerAPI::Result<ServerAPI::TeamDetails>> ServerAPI::team(QString token) {
    Call call{HttpRequest::Method::get, QStringLiteral("team"), token, std::nullopt, timeouts_.account};
    return fetch<TeamDetails>(std::move(call), readTeamDetails);
}

QCoro::Task<ServerAPI::Result<ServerAPI::TeamDetails>> ServerAPI::invite(QString token, QString email) {
    Call call{HttpRequest::Method::post, QStringLiteral("team/invite"), token,
              QJsonObject{{QStringLiteral("email"), email}}, timeouts_.account};
    return fetch<TeamDetails>(std::move(call), readTeamDetails);
}

QCoro::Task<ServerAPI::Result<ServerAPI::TeamDetails>> ServerAPI::remove(QString token, QString memberID) {
    Call call{HttpRequest::Method::post, QStringLiteral("team/remove"), token,
              QJsonObject{{QStringLiteral("memberId"), memberID}}, timeouts_.account};
    return fetch<TeamDetails>(std::move(call), readTeamDetails);
}

QCoro::Task<ServerAPI::Result<ServerAPI::Done>> ServerAPI::leave(QString token) {
    Call call{HttpRequest::Method::post, QStringLiteral("team/leave"), token, std::nullopt,
              timeouts_.account};
    return fetchNothing(std::move(call));
}

QCoro::Task<ServerAPI::Result<DraftReply>> ServerAPI::draft(QString token, DraftPrompt prompt, CancelToken cancel) {
    const QJsonObject body{{QStringLiteral("system"), prompt.system},
                           {QStringLiteral("user"), prompt.user},
                           {QStringLiteral("tokenLimit"), prompt.tokenLimit}};
    Call call{HttpRequest::Method::post, QStringLiteral("draft"), token, body, timeouts_.draft};
    return fetch<DraftReply>(
        std::move(call),
        [](JsonReader& reader) {
            DraftReply reply;
            reply.text = reader.string(QStringLiteral("text"));
            // A provider this build does not know is treated as unnamed rather than as a broken answer.
            if (const auto provider = reader.optionalString(QStringLiteral("provider")))
                reply.provider = fromRawValue<ProviderKind>(*provider);
            reply.model = reader.optionalString(QStringLiteral("model"));
            return reply;
        },
        std::move(cancel));
}

} // namespace lumeno
