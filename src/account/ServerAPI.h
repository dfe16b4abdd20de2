#pragma once

#include "drafting/DraftPrompt.h"
#include "drafting/DraftReply.h"
#include "platform/HttpTransport.h"
#include "support/CancelToken.h"

#include <QCoroTask>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace lumeno {

class JsonReader;
class Scheduler;

// The client of the Lumeno server: JSON under <base>/v1/, a bearer token for everything after sign-in.
// docs/server-protocol.md is the contract; keep the two in step.
class ServerAPI {
public:
    struct User {
        QString id;
        QString email;
        QString name;
        bool operator==(const User&) const = default;
    };

    enum class Role { owner, member };

    // A team as the signed-in user sees it: `role` is the user's own role in it.
    struct Team {
        QString id;
        QString name;
        Role role = Role::member;
        bool operator==(const Team&) const = default;
    };

    struct Member {
        QString id;
        QString email;
        QString name;
        Role role = Role::member;
        bool invited = false; // asked to join, not signed in yet
        bool operator==(const Member&) const = default;
    };

    struct TeamDetails {
        Team team;
        std::vector<Member> members;
        bool operator==(const TeamDetails&) const = default;
    };

    // The account as the server keeps it (`me`).
    struct Account {
        User user;
        std::optional<Team> team;
        bool operator==(const Account&) const = default;
    };

    // A new session (`auth/verify`).
    struct SignIn {
        QString token;
        Account account;
        bool operator==(const SignIn&) const = default;
    };

    struct Error {
        enum class Kind {
            network,         // no connection, TLS refused, connection closed before an answer
            timeout,         // no answer in time
            unauthorized,    // 401: the token (or no token) was refused
            paymentRequired, // 402
            rateLimited,     // 429
            refused,         // any other 4xx: the request was wrong or not allowed
            server,          // 5xx, an answer that cannot be read, a redirect we do not follow
        };

        Kind kind = Kind::server;
        int status = 0;  // the HTTP status; 0 when no answer came
        QString code;    // the server's error code, e.g. "invalid_code"; empty when none
        QString message; // the server's sentence for the user; empty when none
        QString reason;  // for logs: the path asked and what went wrong on our side

        // The server's sentence as it may be shown (trimmed, shortened when very long); none when empty.
        std::optional<QString> shownMessage() const;
        // What the user is shown: the server's sentence, else one for the kind.
        QString userMessage() const;
        // For logs: kind, status and code, never a token.
        QString logText() const;

        bool operator==(const Error&) const = default;
    };

    template <typename T> using Result = std::variant<T, Error>;
    // The answer of a call that brings nothing back. Not std::monostate: a task's promise keeps its own.
    struct Done {
        bool operator==(const Done&) const = default;
    };

    struct Timeouts {
        double account = 20; // seconds
        double draft = 60;   // a model takes its time
    };

    ServerAPI(QUrl baseURL, std::shared_ptr<HttpTransport> transport, Scheduler& scheduler);
    ServerAPI(QUrl baseURL, std::shared_ptr<HttpTransport> transport, Scheduler& scheduler,
              Timeouts timeouts);

    // The configured server: LUMENO_API_URL from `environment`, else `bundleURL` (the build's
    // LumenoAPIBaseURL). None when neither is set or the one chosen is not acceptable.
    static std::shared_ptr<ServerAPI> live(const QString& bundleURL, const QProcessEnvironment& environment,
                                           std::shared_ptr<HttpTransport> transport, Scheduler& scheduler);
    // The address this build was configured with (CMake's LUMENO_API_BASE_URL), empty by default.
    static QString bundleURL();
    // An acceptable base address: https with a host, or http to a loopback address; no user, query or
    // fragment. Surrounding white space is ignored.
    static std::optional<QUrl> acceptedBaseURL(const QString& text);

    const QUrl& baseURL() const { return baseURL_; }
    static const QByteArray& userAgent();

    QCoro::Task<Result<Done>> requestCode(QString email);
    QCoro::Task<Result<SignIn>> verify(QString email, QString code, QString name, QString device);
    QCoro::Task<Result<Done>> logout(QString token);
    QCoro::Task<Result<Account>> me(QString token);
    QCoro::Task<Result<User>> rename(QString token, QString name);
    QCoro::Task<Result<Done>> deleteAccount(QString token);
    QCoro::Task<Result<TeamDetails>> team(QString token);
    QCoro::Task<Result<TeamDetails>> invite(QString token, QString email);
    QCoro::Task<Result<TeamDetails>> remove(QString token, QString memberID);
    QCoro::Task<Result<Done>> leave(QString token);
    // Cancelling `cancel` aborts the request; the answer is then a network error.
    QCoro::Task<Result<DraftReply>> draft(QString token, DraftPrompt prompt, CancelToken cancel = {});

    // The records in JSON, shared with session.json. Faults are left in the reader.
    static User readUser(JsonReader& reader);
    static Team readTeam(JsonReader& reader);
    static Account readAccount(JsonReader& reader);         // {"user": …, "team": …}
    static TeamDetails readTeamDetails(JsonReader& reader); // {"team": …, "members": […]}
    static User readUserAnswer(JsonReader& reader);         // {"user": …}
    static QJsonObject accountJson(const Account& account);
    // A token we are willing to put in a header: printable ASCII without spaces.
    static bool isUsableToken(const QString& token);

private:
    struct Call {
        HttpRequest::Method method = HttpRequest::Method::get;
        QString path; // below /v1/
        std::optional<QString> token;
        std::optional<QJsonObject> body;
        double timeout = 0;
    };

    // Sends a call and gives the answer's JSON object (empty for an answer without a body).
    // Cancelling `cancel` aborts the request.
    QCoro::Task<Result<QJsonObject>> exchange(Call call, CancelToken cancel);
    // Sends a call and reads its answer with `read`; an answer that does not fit is a server fault.
    template <typename T, typename Read> QCoro::Task<Result<T>> fetch(Call call, Read read, CancelToken cancel = {});
    QCoro::Task<Result<Done>> fetchNothing(Call call);
    static QCoro::Task<HttpResult> sendTimed(std::shared_ptr<HttpTransport> transport, Scheduler& scheduler,
                                             HttpRequest request, double timeout, CancelToken cancel,
                                             bool* timedOut);
    HttpRequest request(const Call& call) const;

    QUrl baseURL_;
    std::shared_ptr<HttpTransport> transport_;
    Scheduler& scheduler_;
    Timeouts timeouts_;
};

} // namespace lumeno
