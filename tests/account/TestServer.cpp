#include "TestServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFile>
#include <QUuid>
#include <httplib.h>

namespace lumeno::testing {

namespace {

QByteArray bytes(const std::string& text) {
    return QByteArray::fromStdString(text);
}

QJsonObject bodyOf(const httplib::Request& request) {
    return QJsonDocument::fromJson(bytes(request.body)).object();
}

void answer(httplib::Response& response, int status, const QJsonObject& body) {
    response.status = status;
    response.set_content(QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(),
                         "application/json");
}

void fail(httplib::Response& response, int status, const QString& code, const QString& message) {
    answer(response, status, {{"error", QJsonObject{{"code", code}, {"message", message}}}});
}

// Whether the loopback connection from `clientPort` to `serverPort` is still open at both ends, as the
// kernel's table of IPv4 sockets has it: once the client closes, the server's end leaves the established
// state (01) at once, although nothing was read or written.
bool connectionOpen(int serverPort, int clientPort) {
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return true;
    const QByteArray local = QByteArray(":") + QByteArray::number(serverPort, 16).toUpper().rightJustified(4, '0');
    const QByteArray remote = QByteArray(":") + QByteArray::number(clientPort, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields[1].endsWith(local) && fields[2].endsWith(remote))
            return fields[3] == "01";
    }
    return false;
}

// How often a waiting draft looks at its connection.
constexpr std::chrono::milliseconds connectionCheck{5};

} // namespace

TestServer::TestServer(Security security) : security_(security) {
    if (security == Security::tls) {
        const QByteArray data = LUMENO_TEST_DATA_DIR;
        server_ = std::make_unique<httplib::SSLServer>((data + "/loopback.pem").constData(),
                                                       (data + "/loopback.key").constData());
    } else {
        server_ = std::make_unique<httplib::Server>();
    }
    draftBody_ = R"({"text":"Thursday at ten works for me.","provider":"anthropic","model":"test-model"})";
    route();
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // stop() does nothing until the server runs: a test that ends at once must not leave it listening.
    while (!server_->is_running())
        std::this_thread::yield();
}

TestServer::~TestServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    released_.notify_all();
    server_->stop();
    thread_.join();
}

QUrl TestServer::baseURL() const {
    return QUrl(QStringLiteral("%1://127.0.0.1:%2")
                    .arg(security_ == Security::tls ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(port_));
}

std::vector<TestServer::Seen> TestServer::seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
}

std::vector<TestServer::Seen> TestServer::drafts() const {
    std::vector<Seen> drafts = seen();
    std::erase_if(drafts, [](const Seen& seen) { return seen.path != QLatin1String("/v1/draft"); });
    return drafts;
}

void TestServer::addSession(const QString& email, const QString& name, const QString& token) {
    std::lock_guard lock(mutex_);
    User& user = users_[email];
    if (user.id.isEmpty())
        user.id = QStringLiteral("u%1").arg(++counter_);
    user.name = name;
    tokens_[token] = email;
}

QString TestServer::codeSentTo(const QString& email) const {
    std::lock_guard lock(mutex_);
    const auto found = codes_.find(email);
    return found == codes_.end() ? QString() : found->second;
}

void TestServer::addTeam(const QString& ownerEmail, const QString& teamName,
                         const std::vector<QString>& memberEmails) {
    std::lock_guard lock(mutex_);
    Team team{QStringLiteral("t%1").arg(++counter_), teamName, ownerEmail, {}};
    team.members.push_back({QStringLiteral("m%1").arg(++counter_), ownerEmail, false});
    for (const QString& email : memberEmails)
        team.members.push_back({QStringLiteral("m%1").arg(++counter_), email, false});
    teams_.push_back(team);
}

void TestServer::revokeAllTokens() {
    std::lock_guard lock(mutex_);
    tokens_.clear();
}

void TestServer::setDraftAnswer(int status, const QByteArray& body) {
    std::lock_guard lock(mutex_);
    draftStatus_ = status;
    draftBody_ = body;
}

void TestServer::setDraftDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    draftDelay_ = delay;
}

void TestServer::holdNextDraft() {
    std::lock_guard lock(mutex_);
    holdNext_ = true;
}

bool TestServer::isHoldingADraft() const {
    std::lock_guard lock(mutex_);
    return holding_;
}

void TestServer::release() {
    {
        std::lock_guard lock(mutex_);
        holding_ = false;
    }
    released_.notify_all();
}

void TestServer::cutShortNextDraft() {
    std::lock_guard lock(mutex_);
    cutShortNext_ = true;
}

void TestServer::streamNextDraft(qint64 bytes) {
    std::lock_guard lock(mutex_);
    streamNext_ = bytes;
    streamed_ = 0;
}

qint64 TestServer::streamedBytes() const {
    std::lock_guard lock(mutex_);
    return streamed_;
}

std::optional<QString> TestServer::signedInEmail(const httplib::Request& request,
                                                 httplib::Response& response) {
    const QByteArray header = bytes(request.get_header_value("Authorization"));
    const auto found =
        header.startsWith("Bearer ") ? tokens_.find(QString::fromUtf8(header.mid(7))) : tokens_.end();
    if (found == tokens_.end()) {
        fail(response, 401, "unauthorized", "Your session has ended. Sign in again.");
        return std::nullopt;
    }
    return found->second;
}

TestServer::Team* TestServer::teamOf(const QString& email) {
    for (Team& team : teams_) {
        for (const Member& member : team.members) {
            if (member.email == email && !member.invited)
                return &team;
        }
    }
    return nullptr;
}

TestServer::Team* TestServer::ownedTeam(const QString& email, httplib::Response& response) {
    Team* team = teamOf(email);
    if (!team || team->ownerEmail != email) {
        fail(response, 403, "not_owner", "Only the team's owner can do that.");
        return nullptr;
    }
    return team;
}

QByteArray TestServer::accountJson(const QString& email) {
    const User& user = users_[email];
    QJsonObject account{{"user", QJsonObject{{"id", user.id}, {"email", email}, {"name", user.name}}}};
    if (const Team* team = teamOf(email)) {
        account.insert("team", QJsonObject{{"id", team->id},
                                           {"name", team->name},
                                           {"role", team->ownerEmail == email ? "owner" : "member"}});
    }
    return QJsonDocument(account).toJson(QJsonDocument::Compact);
}

QByteArray TestServer::teamJson(const Team& team, const QString& viewerEmail) {
    QJsonArray members;
    for (const Member& member : team.members) {
        const auto user = users_.find(member.email);
        members.append(QJsonObject{{"id", member.id},
                                   {"email", member.email},
                                   {"name", user == users_.end() ? QString() : user->second.name},
                                   {"role", member.email == team.ownerEmail ? "owner" : "member"},
                                   {"status", member.invited ? "invited" : "active"}});
    }
    const QJsonObject body{
        {"team", QJsonObject{{"id", team.id},
                             {"name", team.name},
                             {"role", team.ownerEmail == viewerEmail ? "owner" : "member"}}},
        {"members", members}};
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

TestServer::Seen* TestServer::seenOf(const httplib::Request& request) {
    const QString path = QString::fromStdString(request.path);
    for (auto seen = seen_.rbegin(); seen != seen_.rend(); ++seen) {
        if (seen->remotePort == request.remote_port && seen->path == path) {
            seen->body = bytes(request.body);
            return &*seen;
        }
    }
    return nullptr;
}

void TestServer::draft(const httplib::Request& request, httplib::Response& response) {
    std::unique_lock lock(mutex_);
    seenOf(request);
    const bool held = std::exchange(holdNext_, false);
    holding_ = held;
    const Clock::time_point due = Clock::now() + draftDelay_;
    while (!stopping_ && (held ? holding_ : Clock::now() < due)) {
        if (!connectionOpen(port_, request.remote_port)) {
            holding_ = false;
            if (Seen* seen = seenOf(request))
                seen->closedByClient = true;
            return; // nobody is left to answer
        }
        released_.wait_for(lock, connectionCheck);
    }
    if (held)
        return; // released: the test only wanted to see the client wait
    if (Seen* seen = seenOf(request))
        seen->answered = Clock::now();
    if (std::exchange(cutShortNext_, false)) {
        response.set_content_provider(512, "application/json", [](size_t, size_t, httplib::DataSink& sink) {
            sink.write("{\"text\":\"Thurs", 14);
            return false; // closes the connection with most of the promised body missing
        });
        return;
    }
    if (const qint64 total = std::exchange(streamNext_, 0); total > 0) {
        response.set_chunked_content_provider("application/json", [this, total](size_t, httplib::DataSink& sink) {
            static const std::string spaces(64 * 1024, ' ');
            std::lock_guard lock(mutex_);
            if (streamed_ >= total) {
                const std::string draft = draftBody_.toStdString();
                sink.write(draft.data(), draft.size());
                sink.done();
                return true;
            }
            if (!sink.write(spaces.data(), spaces.size()))
                return false; // the client went away
            streamed_ += qint64(spaces.size());
            return true;
        });
        return;
    }
    response.status = draftStatus_;
    response.set_content(draftBody_.toStdString(), "application/json");
}

void TestServer::route() {
    using httplib::Request;
    using httplib::Response;

    server_->set_pre_routing_handler([this](const Request& request, Response&) {
        std::lock_guard lock(mutex_);
        seen_.push_back({QString::fromStdString(request.method), QString::fromStdString(request.path),
                         bytes(request.get_header_value("Authorization")),
                         bytes(request.get_header_value("User-Agent")), bytes(request.body), request.remote_port,
                         Clock::now(), std::nullopt, false});
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server_->set_post_routing_handler([this](const Request& request, Response&) {
        std::lock_guard lock(mutex_);
        seenOf(request);
    });

    server_->Post("/v1/auth/code", [this](const Request& request, Response& response) {
        std::lock_guard lock(mutex_);
        const QString email = bodyOf(request)["email"].toString();
        if (!email.contains(u'@'))
            return fail(response, 400, "invalid_email", "That doesn't look like an email address.");
        codes_[email] = QString::number(100000 + ++counter_);
        response.status = 204;
    });

    server_->Post("/v1/auth/verify", [this](const Request& request, Response& response) {
        std::lock_guard lock(mutex_);
        const QJsonObject body = bodyOf(request);
        const QString email = body["email"].toString();
        const auto code = codes_.find(email);
        if (code == codes_.end() || code->second != body["code"].toString())
            return fail(response, 400, "invalid_code", "That code is wrong or has expired.");
        codes_.erase(code);
        User& user = users_[email];
        if (user.id.isEmpty())
            user.id = QStringLiteral("u%1").arg(++counter_);
        if (user.name.isEmpty())
            user.name = body["name"].toString();
        const QString token = QStringLiteral("tok-") + QUuid::createUuid().toString(QUuid::Id128);
        tokens_[token] = email;
        QJsonObject answer = QJsonDocument::fromJson(accountJson(email)).object();
        answer.insert("token", token);
        ::lumeno::testing::answer(response, 200, answer);
    });

    server_->Post("/v1/auth/logout", [this](const Request& request, Response& response) {
        std::lock_guard lock(mutex_);
        if (!signedInEmail(request, response))
            return;
        tokens_.erase(QString::fromUtf8(bytes(request.get_header_value("Authorization")).mid(7)));
        response.status = 204;
    });

    server_->Get("/v1/me", [this](const Request& request, Response& response) {
        std::lock_guard lock(mutex_);
        if (const auto email = signedInEmail(request, response))
            response.set_content(accountJson(*email).toStdString(), "application/json");
    });

    server_->Patch("/v1/account", [this](const Request& request, Response& response) {
        std::lock_guard lock(mutex_);
        const auto email = signedInEmail(request, response);
        if (!email)
            return;
        users_[*email].name = bodyOf(request)["name"].toString().trimmed();
        const QJsonObject account = QJsonDocument::fromJson(accountJson(*email)).object();
        answer(response, 200, {{"user", account["user"]}});
    });

    server_->Delete("/v1/account", [this](const Request& request, Response& response) {
        std::lock_guard lock(mutex_);
        const auto email = signedInEmail(request, response);
        if (!email)
            return;
        users_.erase(*email);
        std::erase_if(tokens_, [&](const auto& entry) { return entry.second == *email; });
        response.status = 204;
    });

    server_->Get("/v1/team", [this](const Request& request, Response& response) {
        std::lock_guard lock(mutex_);
        const auto email = signedInEmail(request, response);
        if (!email)
            return;
        if (const Team* team = teamOf(*email))
            return response.set_content(teamJson(*team, *email).toStdString(), "application/json");
        fail(response, 404, "not_in_team", "You're not on a team.");
    });

    server_->Post("/v1/team/invite", [this](const Request& request, Response& response) {
        std::lock_guard lock(mutex_);
        const auto email = signedInEmail(request, response);
        Team* team = email ? ownedTeam(*email, response) : nullptr;
        if (!team)
            return;
        team->members.push_back(
            {QStringLiteral("m%1").arg(++counter_), bodyOf(request)["email"].toString(), true});
        response.set_content(teamJson(*team, *email).toStdString(), "application/json");
    });

    server_->Post("/v1/team/remove", [this](const Request& request, Response& response) {
        std::lock_guard lock(mutex_);
        const auto email = signedInEmail(request, response);
        Team* team = email ? ownedTeam(*email, response) : nullptr;
        if (!team)
            return;
        const QString id = bodyOf(request)["memberId"].toString();
        std::erase_if(team->members, [&](const Member& member) { return member.id == id; });
        response.set_content(teamJson(*team, *email).toStdString(), "application/json");
    });

    server_->Post("/v1/team/leave", [this](const Request& request, Response& response) {
        std::lock_guard lock(mutex_);
        const auto email = signedInEmail(request, response);
        if (!email)
            return;
        Team* team = teamOf(*email);
        if (!team)
            return fail(response, 404, "not_in_team", "You're not on a team.");
        if (team->ownerEmail == *email)
            return fail(response, 409, "owner_cannot_leave", "The owner can't leave the team.");
        std::erase_if(team->members, [&](const Member& member) { return member.email == *email; });
        response.status = 204;
    });

    server_->Post("/v1/draft", [this](const Request& request, Response& response) {
        {
            std::lock_guard lock(mutex_);
            if (!signedInEmail(request, response))
                return;
        }
        draft(request, response);
    });
}

} // namespace lumeno::testing
