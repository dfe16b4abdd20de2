// The client, the store and the Qt transport against a real server on a loopback port.
#include "AccountTestSupport.h"
#include "TestServer.h"
#include "platform/linux/QtHttpTransport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSslCertificate>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>

#include <optional>
#include <sys/stat.h>

namespace lumeno {
namespace {

using namespace lumeno::testing;

// Runs the event loop until the task has finished; a generous bound turns a hang into a failure.
template <typename T> T settle(QCoro::Task<T>& task) {
    const QDeadlineTimer deadline(20000);
    while (!task.isReady() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return finished(task);
}

template <typename T> T settle(QCoro::Task<T>&& task) {
    return settle(task);
}

void settleUntil(const std::function<bool()>& condition) {
    const QDeadlineTimer deadline(20000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_TRUE(condition());
}

// A loopback listener that answers every connection with fixed bytes, or closes it unanswered.
class RawResponder {
public:
    explicit RawResponder(QByteArray reply) : reply_(std::move(reply)) {
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    socket->readAll();
                    if (!reply_.isEmpty())
                        socket->write(reply_);
                    socket->disconnectFromHost();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        server_.listen(QHostAddress::LocalHost);
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(server_.serverPort())); }

private:
    QTcpServer server_;
    QByteArray reply_;
};

// A scheduler that notices being used once it is gone. The test keeps its storage (in an optional), so a
// late call is counted rather than left to chance.
class LeavingScheduler final : public Scheduler {
public:
    LeavingScheduler(ManualClock& clock, bool* gone, int* lateCalls) : inner_(clock), gone_(gone), lateCalls_(lateCalls) {}
    ~LeavingScheduler() override {
        endLifetime();
        *gone_ = true;
    }

    TimerId after(double seconds, std::function<void()> work) override {
        return late() ? 0 : inner_.after(seconds, std::move(work));
    }
    TimerId every(double seconds, std::function<void()> work) override {
        return late() ? 0 : inner_.every(seconds, std::move(work));
    }
    void cancel(TimerId id) override {
        if (!late())
            inner_.cancel(id);
    }

private:
    bool late() {
        if (*gone_)
            ++*lateCalls_;
        return *gone_;
    }

    ManualScheduler inner_;
    bool* gone_;
    int* lateCalls_;
};

QList<QSslCertificate> testAuthority() {
    return QSslCertificate::fromPath(QStringLiteral(LUMENO_TEST_DATA_DIR "/test-ca.pem"));
}

class AccountIntegration : public ::testing::Test {
protected:
    ManualClock clock;
    ManualScheduler scheduler{clock};
    QTemporaryDir folder;
    CapturedLog log;

    std::shared_ptr<ServerAPI> clientFor(const QUrl& base, QList<QSslCertificate> authorities = {}) {
        return std::make_shared<ServerAPI>(base, std::make_shared<QtHttpTransport>(std::move(authorities)),
                                           scheduler);
    }
    std::unique_ptr<AccountStore> storeFor(std::shared_ptr<ServerAPI> client) {
        return std::make_unique<AccountStore>(folder.path(), std::move(client), clock,
                                              QStringLiteral("ada-laptop"));
    }

    // Signs in through the e-mailed code the server "sent".
    void signIn(AccountStore& store, TestServer& server,
                const QString& email = QStringLiteral("ada@example.com")) {
        ASSERT_EQ(settle(store.requestCode(QStringLiteral("Ada Park"), email)), std::nullopt);
        const QString code = server.codeSentTo(email);
        ASSERT_FALSE(code.isEmpty());
        ASSERT_EQ(settle(store.confirmCode(code)), std::nullopt);
        ASSERT_TRUE(store.isSignedIn());
    }
};

TEST_F(AccountIntegration, SignInEndToEndLeavesAPrivateSessionFileThatANewStoreReadsUntilTheTokenIsRefused) {
    TestServer server;
    auto store = storeFor(clientFor(server.baseURL()));

    EXPECT_EQ(settle(store->confirmCode("100001")), "Ask for a code first.");
    ASSERT_EQ(settle(store->requestCode("  Ada Park ", " ADA@example.com")), std::nullopt);
    EXPECT_EQ(settle(store->confirmCode("999999")), "That code is wrong or has expired.");
    ASSERT_EQ(settle(store->confirmCode(server.codeSentTo("ada@example.com"))), std::nullopt);
    ASSERT_TRUE(store->isSignedIn());
    EXPECT_EQ(store->session()->user.name, "Ada Park");
    EXPECT_EQ(store->session()->user.email, "ada@example.com");

    struct stat info {};
    store->finishDiskWork();
    ASSERT_EQ(::stat(QFile::encodeName(folder.filePath("session.json")).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    store->finishDiskWork();
    auto reopened = storeFor(clientFor(server.baseURL()));
    ASSERT_TRUE(reopened->isSignedIn());
    EXPECT_EQ(reopened->session(), store->session());
    settle(reopened->refresh());
    EXPECT_TRUE(reopened->isSignedIn());

    const auto seen = server.seen();
    ASSERT_FALSE(seen.empty());
    for (const auto& request : seen)
        EXPECT_EQ(request.userAgent, "Lumeno/1.0 (Linux)") << request.path.toStdString();
    EXPECT_EQ(seen.back().path, "/v1/me");
    EXPECT_EQ(seen.back().authorization, "Bearer " + store->session()->token.toLatin1());
    EXPECT_FALSE(log.mentions(store->session()->token));

    server.revokeAllTokens();
    settle(reopened->refresh());
    EXPECT_FALSE(reopened->isSignedIn());
    reopened->finishDiskWork();
    EXPECT_FALSE(QFile::exists(folder.filePath("session.json")));
}

TEST_F(AccountIntegration, RenameTeamChangesAndDeletionReachTheServer) {
    TestServer server;
    server.addTeam("ada@example.com", "Harbor Studio", {"bo@example.com"});
    auto store = storeFor(clientFor(server.baseURL()));
    signIn(*store, server);
    settleUntil([&] { return store->teamDetails().has_value(); }); // brought by the refresh after sign-in
    EXPECT_EQ(store->session()->team->role, ServerAPI::Role::owner);
    ASSERT_EQ(store->teamDetails()->members.size(), 2u);

    ASSERT_EQ(settle(store->invite("Cy@Example.com")), std::nullopt);
    ASSERT_EQ(store->teamDetails()->members.size(), 3u);
    EXPECT_EQ(store->teamDetails()->members.back().email, "cy@example.com");
    EXPECT_TRUE(store->teamDetails()->members.back().invited);

    const QString bo = store->teamDetails()->members.at(1).id;
    ASSERT_EQ(settle(store->removeMember(bo)), std::nullopt);
    EXPECT_EQ(store->teamDetails()->members.size(), 2u);
    EXPECT_EQ(settle(store->leaveTeam()), "The owner can't leave the team.");

    store->rename("Ada Park-Lee");
    settleUntil([&] { return server.seen().back().path == "/v1/account"; });
    settle(store->refresh());
    EXPECT_EQ(store->session()->user.name, "Ada Park-Lee");

    ASSERT_EQ(settle(store->deleteAccount()), std::nullopt);
    EXPECT_FALSE(store->isSignedIn());
    EXPECT_EQ(server.seen().back().method, "DELETE");
}

TEST_F(AccountIntegration, EveryDraftingFailureReachesTheReplyLoopAsItsError) {
    TestServer server;
    auto store = storeFor(clientFor(server.baseURL()));
    signIn(*store, server);

    const auto ok = settle(outcomeOf(store->draft({"Be brief.", "Say Thursday works.", 200})));
    ASSERT_TRUE(std::holds_alternative<DraftReply>(ok));
    EXPECT_EQ(std::get<DraftReply>(ok), (DraftReply{"Thursday at ten works for me.", ProviderKind::anthropic,
                                                    QStringLiteral("test-model")}));

    // Each answer is mapped on the fake transport too (AccountStoreTest); here the status, the body and the
    // message come over a real connection.
    const struct {
        int status;
        QByteArray body;
        DraftError expected;
    } cases[] = {
        {402, errorBody("billing", "Your trial has ended."), DraftError::billing("Your trial has ended.")},
        {500, "Internal Server Error", DraftError::server()},
        {401, errorBody("unauthorized"), DraftError::signedOut()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.title().toStdString());
        server.setDraftAnswer(c.status, c.body);
        const auto outcome = settle(outcomeOf(store->draft({"s", "u", 100})));
        ASSERT_TRUE(std::holds_alternative<DraftError>(outcome));
        EXPECT_EQ(std::get<DraftError>(outcome), c.expected);
    }
    EXPECT_FALSE(store->isSignedIn()) << "the refused token ended the session";
}

TEST_F(AccountIntegration, ADraftWithoutAnAnswerTimesOut) {
    TestServer server;
    auto store = storeFor(clientFor(server.baseURL()));
    signIn(*store, server);

    server.holdNextDraft();
    auto call = outcomeOf(store->draft({"s", "u", 100}));
    settleUntil([&] { return server.isHoldingADraft(); });
    scheduler.advance(60);
    const auto outcome = settle(call);
    ASSERT_TRUE(std::holds_alternative<DraftError>(outcome));
    EXPECT_EQ(std::get<DraftError>(outcome), DraftError::timeout());
    // The client gave up on the request: the server sees it closed and stops holding it.
    settleUntil([&] { return server.drafts().back().closedByClient; });
    EXPECT_FALSE(server.isHoldingADraft());
}

// A test (or the program) may end with a draft still out: when its scheduler goes, nobody is left to take
// the answer, so the request ends there and then, and touches nothing that went with it.
TEST_F(AccountIntegration, ADraftStillOutWhenItsSchedulerGoesEndsThenAndTouchesNothingOfIt) {
    TestServer server;
    bool schedulerGone = false;
    int lateCalls = 0;
    std::optional<LeavingScheduler> leaving(std::in_place, clock, &schedulerGone, &lateCalls);
    auto store = storeFor(std::make_shared<ServerAPI>(server.baseURL(), std::make_shared<QtHttpTransport>(), *leaving));
    signIn(*store, server);

    server.holdNextDraft();
    auto call = outcomeOf(store->draft({"s", "u", 100}));
    settleUntil([&] { return server.isHoldingADraft(); });
    store.reset();
    leaving.reset();
    const auto outcome = settle(call);
    ASSERT_TRUE(std::holds_alternative<DraftError>(outcome));
    EXPECT_EQ(std::get<DraftError>(outcome).kind, DraftError::Kind::network);
    settleUntil([&] { return server.drafts().back().closedByClient; });
    EXPECT_EQ(lateCalls, 0) << "the ending request used the scheduler that had gone";
}

TEST_F(AccountIntegration, ACancelledDraftClosesItsRequestAtOnce) {
    TestServer server;
    auto store = storeFor(clientFor(server.baseURL()));
    signIn(*store, server);

    server.holdNextDraft();
    CancelToken cancel;
    bool calledOff = false;
    const auto draft = [&]() -> QCoro::Task<> {
        DraftPrompt prompt{"s", "u", 100};
        try {
            co_await store->draft(std::move(prompt), cancel);
        } catch (const Cancelled&) {
            calledOff = true;
        }
    };
    auto call = draft();
    settleUntil([&] { return server.isHoldingADraft(); });
    cancel.cancel();
    // Long before any time-out: the server sees the request closed, and the caller hears it was called off.
    settleUntil([&] { return server.drafts().back().closedByClient && calledOff; });
}

TEST_F(AccountIntegration, AConnectionClosedBeforeOrDuringTheAnswerIsANetworkError) {
    TestServer server;
    auto store = storeFor(clientFor(server.baseURL()));
    signIn(*store, server);
    server.cutShortNextDraft();
    const auto cut = settle(outcomeOf(store->draft({"s", "u", 100})));
    ASSERT_TRUE(std::holds_alternative<DraftError>(cut));
    EXPECT_EQ(std::get<DraftError>(cut), DraftError::network());

    RawResponder closer{QByteArray()};
    const auto result = settle(clientFor(closer.url())->me(QStringLiteral("tok-Abc")));
    ASSERT_TRUE(std::holds_alternative<ServerAPI::Error>(result));
    EXPECT_EQ(std::get<ServerAPI::Error>(result).kind, ServerAPI::Error::Kind::network);
}

// An answer of many megabytes is refused as the server's fault while it arrives, whether it announces its
// length or not: the client stops taking it long before the end.
TEST_F(AccountIntegration, AnAnswerOfManyMegabytesIsRefusedAsItArrives) {
    TestServer server;
    auto store = storeFor(clientFor(server.baseURL()));
    signIn(*store, server);

    const QByteArray announced = QByteArray(8 * 1024 * 1024, ' ') + R"({"text":"Thursday works."})";
    server.setDraftAnswer(200, announced);
    auto outcome = settle(outcomeOf(store->draft({"s", "u", 100})));
    ASSERT_TRUE(std::holds_alternative<DraftError>(outcome));
    EXPECT_EQ(std::get<DraftError>(outcome), DraftError::server());

    constexpr qint64 streamed = 256 * 1024 * 1024;
    server.streamNextDraft(streamed);
    outcome = settle(outcomeOf(store->draft({"s", "u", 100})));
    ASSERT_TRUE(std::holds_alternative<DraftError>(outcome));
    EXPECT_EQ(std::get<DraftError>(outcome), DraftError::server());
    EXPECT_LT(server.streamedBytes(), streamed / 4) << "the client kept reading";

    server.setDraftAnswer(200, QByteArray(1024 * 1024, ' ') +
                                   R"({"text":"Thursday works.","provider":"anthropic","model":"test-model"})");
    outcome = settle(outcomeOf(store->draft({"s", "u", 100})));
    ASSERT_TRUE(std::holds_alternative<DraftReply>(outcome)) << "a large but reasonable answer is taken";
    EXPECT_TRUE(store->isSignedIn());
}

TEST_F(AccountIntegration, ARedirectToAnotherOriginIsNotFollowed) {
    TestServer elsewhere;
    RawResponder redirecting(
        "HTTP/1.1 307 Temporary Redirect\r\nLocation: " + elsewhere.baseURL().toString().toLatin1() +
        "/v1/me\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    const auto result = settle(clientFor(redirecting.url())->me(QStringLiteral("tok-Abc")));
    ASSERT_TRUE(std::holds_alternative<ServerAPI::Error>(result));
    EXPECT_EQ(std::get<ServerAPI::Error>(result).status, 307);
    EXPECT_TRUE(elsewhere.seen().empty());
}

TEST_F(AccountIntegration, TlsWorksWithATrustedAuthorityAndSendsNothingWithout) {
    ASSERT_TRUE(QSslSocket::supportsSsl()) << "Qt's TLS backend plugin is missing";
    ASSERT_FALSE(testAuthority().isEmpty());
    TestServer server(TestServer::Security::tls);

    auto trusting = storeFor(clientFor(server.baseURL(), testAuthority()));
    signIn(*trusting, server);
    const auto drafted = settle(outcomeOf(trusting->draft({"s", "u", 100})));
    ASSERT_TRUE(std::holds_alternative<DraftReply>(drafted));
    const size_t seenBefore = server.seen().size();

    // The same session on a client that does not trust the test authority.
    auto untrusting = storeFor(clientFor(server.baseURL()));
    ASSERT_TRUE(untrusting->isSignedIn());
    const auto refused = settle(outcomeOf(untrusting->draft({"s", "u", 100})));
    ASSERT_TRUE(std::holds_alternative<DraftError>(refused));
    EXPECT_EQ(std::get<DraftError>(refused), DraftError::network());
    EXPECT_EQ(server.seen().size(), seenBefore) << "a request, and so the token, reached an untrusted server";
    EXPECT_TRUE(untrusting->isSignedIn());
}

} // namespace
} // namespace lumeno
