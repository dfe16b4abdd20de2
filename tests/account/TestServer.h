#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace lumeno::testing {

// A small Lumeno server on a loopback port, run on its own threads: it keeps accounts, codes, tokens and
// teams in memory and follows docs/server-protocol.md. Tests script the drafting answers and their delay,
// and look at what arrived, when, and whether the client gave up on a draft it was waiting for.
class TestServer {
public:
    enum class Security { plain, tls };

    explicit TestServer(Security security = Security::plain);
    ~TestServer();

    QUrl baseURL() const;

    using Clock = std::chrono::steady_clock;
    struct Seen {
        QString method;
        QString path;
        QByteArray authorization;
        QByteArray userAgent;
        QByteArray body;
        int remotePort = 0;
        Clock::time_point arrived;
        std::optional<Clock::time_point> answered; // a draft: when its answer went out
        bool closedByClient = false;               // a draft: the client closed it before the answer
    };
    std::vector<Seen> seen() const;
    // The drafting calls among them, in order of arrival.
    std::vector<Seen> drafts() const;

    // A returning user: the account exists and `token` is its session, as after a sign-in.
    void addSession(const QString& email, const QString& name, const QString& token);

    // The last code "e-mailed" to an address; empty when none was asked for.
    QString codeSentTo(const QString& email) const;
    void addTeam(const QString& ownerEmail, const QString& teamName,
                 const std::vector<QString>& memberEmails);
    // Every token given out so far is refused from now on.
    void revokeAllTokens();

    // The answer to the next drafting calls (status and raw body).
    void setDraftAnswer(int status, const QByteArray& body);
    // Drafting calls are answered this long after they arrive (none: at once). A client that closes the
    // request meanwhile is noticed within a few milliseconds and gets no answer.
    void setDraftDelay(std::chrono::milliseconds delay);
    // The next drafting call waits, unanswered, until `release()` or until the client closes it.
    void holdNextDraft();
    bool isHoldingADraft() const;
    void release();
    // The next drafting call gets its headers and the start of a body, then the connection closes.
    void cutShortNextDraft();
    // The next drafting call is answered with `bytes` of white space and then a draft, sent in chunks
    // without announcing its length; the server stops when the client closes the connection.
    void streamNextDraft(qint64 bytes);
    // How much of that answer went out.
    qint64 streamedBytes() const;

private:
    struct User {
        QString id;
        QString name;
    };
    struct Member {
        QString id;
        QString email;
        bool invited = false;
    };
    struct Team {
        QString id;
        QString name;
        QString ownerEmail;
        std::vector<Member> members;
    };

    void route();
    // The e-mail of the bearer token's account; answers 401 and gives none when it is refused.
    std::optional<QString> signedInEmail(const httplib::Request& request, httplib::Response& response);
    Team* teamOf(const QString& email);
    // The team `email` owns; answers 403 and gives none when there is none.
    Team* ownedTeam(const QString& email, httplib::Response& response);
    QByteArray accountJson(const QString& email);
    QByteArray teamJson(const Team& team, const QString& viewerEmail);
    void draft(const httplib::Request& request, httplib::Response& response);
    // What was seen of `request` (its body is read only after it was first recorded).
    Seen* seenOf(const httplib::Request& request);

    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    Security security_;

    mutable std::mutex mutex_;
    std::condition_variable released_;
    std::vector<Seen> seen_;
    std::map<QString, QString> codes_;  // e-mail -> code
    std::map<QString, QString> tokens_; // token -> e-mail
    std::map<QString, User> users_;     // e-mail -> user
    std::vector<Team> teams_;
    int counter_ = 0;
    int draftStatus_ = 200;
    QByteArray draftBody_;
    std::chrono::milliseconds draftDelay_{0};
    bool holdNext_ = false;
    bool holding_ = false;
    bool cutShortNext_ = false;
    qint64 streamNext_ = 0;
    qint64 streamed_ = 0;
    bool stopping_ = false;
};

} // namespace lumeno::testing
