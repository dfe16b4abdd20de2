#include "AccountTestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>

#include <sys/stat.h>
#include <unistd.h>

namespace lumeno {
namespace {

using namespace lumeno::testing;

QByteArray signInAnswer(bool withTeam = false) {
    QJsonObject answer{{"token", "tok-Fresh456"}, {"user", userRecord()}};
    if (withTeam)
        answer.insert("team", teamRecord());
    return jsonBytes(answer);
}

QByteArray teamAnswer(const QJsonArray& members, const QString& role = QStringLiteral("owner")) {
    return jsonBytes({{"team", teamRecord(role)}, {"members", members}});
}

QJsonObject memberRecord(const QString& id, const QString& email,
                         const QString& status = QStringLiteral("active")) {
    return {{"id", id}, {"email", email}, {"name", ""}, {"role", "member"}, {"status", status}};
}

// ---------------------------------------------------------------------------------------------------------
// The session file

class SessionFileTest : public FakeServerFixture {};

TEST_F(SessionFileTest, ASavedSessionIsLoadedAtConstructionAndNoFileMeansSignedOut) {
    EXPECT_FALSE(makeStore()->session().has_value());
    auto store = signedInStore(true);
    ASSERT_TRUE(store->isSignedIn());
    EXPECT_EQ(*store->session(), session("Ada Park", true));
}

TEST_F(SessionFileTest, AnUndecodableFileIsMovedAsideNotOverwritten) {
    const QByteArray damaged[] = {
        "{\"token\": ",
        jsonBytes({{"token", 42}, {"user", userRecord()}}),
        jsonBytes({{"token", "tok\nbad"}, {"user", userRecord()}}),
        jsonBytes({{"token", token}}),
    };
    for (const QByteArray& bytes : damaged) {
        SCOPED_TRACE(bytes.toStdString());
        writeSessionFile(bytes);
        auto store = makeStore();
        EXPECT_FALSE(store->isSignedIn());
        store->finishDiskWork();
        EXPECT_FALSE(QFile::exists(folder.filePath("session.json")));
        const QStringList aside = QDir(folder.path()).entryList({"session.json.unreadable-*"});
        ASSERT_EQ(aside.size(), 1);
        QFile kept(folder.filePath(aside.first()));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), bytes);
        kept.remove();
    }
    EXPECT_TRUE(log.mentions("Session file unreadable"));
}

// ---------------------------------------------------------------------------------------------------------
// Sign-in by e-mailed code

class SignInTest : public FakeServerFixture {};

TEST_F(SignInTest, RequestTrimsAndLowerCasesTheAddressAndConfirmSignsIn) {
    auto store = makeStore();
    QSignalSpy signedInChanges(store.get(), &AccountStore::isSignedInChanged);

    transport->enqueue(FakeHttpTransport::empty(204));
    EXPECT_EQ(finished(store->requestCode("  Ada Park \n", "  Ada@Example.COM ")), std::nullopt);
    EXPECT_EQ(lastBody(), (QJsonObject{{"email", "ada@example.com"}}));
    EXPECT_EQ(store->pendingEmail(), "ada@example.com");

    transport->enqueue(FakeHttpTransport::json(200, signInAnswer()));
    EXPECT_EQ(finished(store->confirmCode(" 123456 ")), std::nullopt);
    EXPECT_EQ(lastBody(), (QJsonObject{{"email", "ada@example.com"},
                                       {"code", "123456"},
                                       {"name", "Ada Park"},
                                       {"device", "ada-laptop"}}));
    ASSERT_TRUE(store->isSignedIn());
    EXPECT_EQ(store->session()->token, "tok-Fresh456");
    EXPECT_EQ(store->pendingEmail(), std::nullopt);
    EXPECT_EQ(signedInChanges.count(), 1);
    EXPECT_TRUE(log->contains("Signed in"));

    store->finishDiskWork();
    QFile file(folder.filePath("session.json"));
    EXPECT_EQ(file.permissions() & 0x0077, QFileDevice::Permissions())
        << "group or others can read the token";
    store->finishDiskWork();
    EXPECT_EQ(makeStore()->session(), store->session()) << "a new store reads the saved session back";
}

TEST_F(SignInTest, LocalProblemsAreReportedWithoutAskingTheServer) {
    auto store = makeStore();
    EXPECT_EQ(finished(store->confirmCode("123456")), "Ask for a code first.");
    for (const char* address : {"", "ada", "ada@", "@example.com", "ada@example", "ada park@example.com"})
        EXPECT_EQ(finished(store->requestCode("Ada", address)), "Enter a valid email address.") << address;
    EXPECT_TRUE(transport->requests().empty());

    auto offline = makeStore(nullptr);
    EXPECT_EQ(finished(offline->requestCode("Ada", "ada@example.com")),
              "This build isn't connected to a Lumeno server.");
}

TEST_F(SignInTest, TheServersSentenceIsShownUnchangedAndTheCodeCanBeRetried) {
    auto store = makeStore();
    transport->enqueue(FakeHttpTransport::empty(204));
    finished(store->requestCode("Ada", "ada@example.com"));

    transport->enqueue(
        FakeHttpTransport::json(400, errorBody("invalid_code", "That code is wrong or has expired.")));
    EXPECT_EQ(finished(store->confirmCode("000000")), "That code is wrong or has expired.");
    EXPECT_FALSE(store->isSignedIn());
    EXPECT_EQ(store->pendingEmail(), "ada@example.com");

    transport->enqueue(FakeHttpTransport::failure());
    EXPECT_EQ(finished(store->confirmCode("123456")),
              "Can't reach the Lumeno server. Check your internet connection, then try again.");

    transport->enqueue(FakeHttpTransport::json(200, signInAnswer()));
    EXPECT_EQ(finished(store->confirmCode("123456")), std::nullopt);
    EXPECT_TRUE(store->isSignedIn());
}

TEST_F(SignInTest, AFailedCodeRequestRemembersNothing) {
    auto store = makeStore();
    transport->enqueue(FakeHttpTransport::json(429, errorBody("rate_limited")));
    EXPECT_EQ(finished(store->requestCode("Ada", "ada@example.com")),
              "Too many tries. Wait a minute, then try again.");
    EXPECT_EQ(store->pendingEmail(), std::nullopt);
    EXPECT_EQ(finished(store->confirmCode("123456")), "Ask for a code first.");
}

TEST_F(SignInTest, TheTokenNeverAppearsInALogLine) {
    auto store = makeStore();
    transport->enqueue(FakeHttpTransport::empty(204));
    finished(store->requestCode("Ada", "ada@example.com"));
    transport->enqueue(FakeHttpTransport::json(200, signInAnswer(true)));
    finished(store->confirmCode("123456"));
    transport->enqueue(FakeHttpTransport::json(500, "oops")); // the refresh after sign-in
    transport->enqueue(FakeHttpTransport::json(401, errorBody("unauthorized")));
    finished(outcomeOf(store->draft({})));
    transport->enqueue(FakeHttpTransport::failure());
    finished(store->requestCode("Ada", "ada@example.com"));

    ASSERT_FALSE(log->lines().isEmpty());
    EXPECT_FALSE(log.mentions("tok-Fresh456"));
}

// ---------------------------------------------------------------------------------------------------------
// The session after sign-in

class SessionTest : public FakeServerFixture {};

TEST_F(SessionTest, RenameIsStoredAtOnceAndSentInTheBackground) {
    auto store = signedInStore();
    QSignalSpy changes(store.get(), &AccountStore::sessionChanged);

    store->rename("  Ada P.  ");
    EXPECT_EQ(store->session()->user.name, "Ada P.");
    store->finishDiskWork();
    EXPECT_EQ(makeStore(nullptr)->session()->user.name, "Ada P.") << "saved before the server answers";
    ASSERT_EQ(transport->waitingCount(), 1);
    EXPECT_EQ(lastRequest().method, HttpRequest::Method::patch);
    EXPECT_EQ(lastBody(), (QJsonObject{{"name", "Ada P."}}));

    store->rename("Ada P.");
    store->rename("   ");
    EXPECT_EQ(transport->requests().size(), 1u) << "an unchanged or empty name is ignored";
    EXPECT_EQ(changes.count(), 1);

    // The server's tidied form of the same name is taken.
    transport->respond(FakeHttpTransport::json(200, jsonBytes({{"user", userRecord("Ada P")}})));
    EXPECT_EQ(store->session()->user.name, "Ada P");
}

TEST_F(SessionTest, ALateAnswerDoesNotUndoANewerRename) {
    auto store = signedInStore();
    store->rename("First");
    store->rename("Second");
    transport->respond(FakeHttpTransport::json(200, jsonBytes({{"user", userRecord("First")}})));
    EXPECT_EQ(store->session()->user.name, "Second");

    // A refresh answered while "Second" is still on its way carries the name the server had before.
    auto refresh = store->refresh();
    ASSERT_EQ(transport->waitingCount(), 2);
    transport->respond(FakeHttpTransport::json(200, jsonBytes({{"user", userRecord("First")}})), 1);
    ASSERT_TRUE(refresh.isReady());
    EXPECT_EQ(store->session()->user.name, "Second");
    store->finishDiskWork();
    EXPECT_EQ(makeStore(nullptr)->session()->user.name, "Second");
}

TEST_F(SessionTest, RenameWithoutAServerStaysLocal) {
    writeSessionFile(session().encoded());
    auto store = makeStore(nullptr);
    store->rename("Ada P.");
    EXPECT_EQ(store->session()->user.name, "Ada P.");
    EXPECT_TRUE(transport->requests().empty());
}

TEST_F(SessionTest, RefreshTakesTheServersAccountAndTeam) {
    auto store = signedInStore();
    transport->enqueue(FakeHttpTransport::json(
        200, jsonBytes({{"user", userRecord("Ada Park-Lee")}, {"team", teamRecord()}})));
    transport->enqueue(FakeHttpTransport::json(200, teamAnswer({memberRecord("m2", "bo@example.com")})));
    finished(store->refresh());
    EXPECT_EQ(store->session()->user.name, "Ada Park-Lee");
    ASSERT_TRUE(store->session()->team.has_value());
    ASSERT_TRUE(store->teamDetails().has_value());
    EXPECT_EQ(store->teamDetails()->members.size(), 1u);
    store->finishDiskWork();
    EXPECT_EQ(makeStore(nullptr)->session(), store->session());
}

TEST_F(SessionTest, RefreshWithARefusedTokenSignsOutAndOtherFailuresKeepTheSession) {
    auto store = signedInStore();
    transport->enqueue(FakeHttpTransport::json(503, "down"));
    finished(store->refresh());
    EXPECT_TRUE(store->isSignedIn());
    EXPECT_TRUE(log.mentions("Account refresh failed"));

    transport->enqueue(FakeHttpTransport::failure());
    finished(store->refresh());
    EXPECT_TRUE(store->isSignedIn());

    QSignalSpy signedInChanges(store.get(), &AccountStore::isSignedInChanged);
    transport->enqueue(FakeHttpTransport::json(401, errorBody("unauthorized")));
    finished(store->refresh());
    EXPECT_FALSE(store->isSignedIn());
    EXPECT_EQ(signedInChanges.count(), 1);
    store->finishDiskWork();
    EXPECT_FALSE(QFile::exists(folder.filePath("session.json")));
}

TEST_F(SessionTest, ARefusalForAnOldSessionDoesNotEndANewOne) {
    auto store = signedInStore();
    auto refresh = store->refresh();
    QCoro::waitFor(store->signOut());
    transport->enqueue(FakeHttpTransport::empty(204));
    finished(store->requestCode("Ada", "ada@example.com"));
    transport->enqueue(FakeHttpTransport::json(200, signInAnswer()));
    finished(store->confirmCode("123456"));
    ASSERT_TRUE(store->isSignedIn());

    transport->respond(FakeHttpTransport::json(401, errorBody("unauthorized"))); // the old refresh
    ASSERT_TRUE(refresh.isReady());
    EXPECT_TRUE(store->isSignedIn());
    EXPECT_EQ(store->session()->token, "tok-Fresh456");
}

TEST_F(SessionTest, SignOutForgetsAtOnceAndEndsTheSessionOnTheServer) {
    auto store = signedInStore(true);
    QCoro::waitFor(store->signOut());
    EXPECT_FALSE(store->isSignedIn());
    store->finishDiskWork();
    EXPECT_FALSE(QFile::exists(folder.filePath("session.json")));
    ASSERT_EQ(transport->waitingCount(), 1);
    EXPECT_EQ(lastRequest().url.path(), "/v1/auth/logout");
    EXPECT_EQ((HttpResponse{0, lastRequest().headers, {}}).header("Authorization"),
              QByteArray("Bearer ") + token);
    transport->respond(FakeHttpTransport::failure());
    EXPECT_FALSE(store->isSignedIn());
    EXPECT_TRUE(log.mentions("Couldn't end the session on the server"));
}

TEST_F(SessionTest, SignOutInAReadOnlyFolderEmptiesTheFileSoTheNextStartIsSignedOut) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root removes files from read-only folders";
    auto store = signedInStore();
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0500), 0);
    const std::optional<QString> problem = QCoro::waitFor(store->signOut());
    ::chmod(QFile::encodeName(folder.path()).constData(), 0700);

    EXPECT_EQ(problem, std::nullopt);
    EXPECT_FALSE(store->isSignedIn());
    store->finishDiskWork();
    EXPECT_FALSE(makeStore()->isSignedIn());
    EXPECT_FALSE(log.mentions("Session file unreadable")) << "an emptied file is a sign-out, not damage";
}

TEST_F(SessionTest, ASignOutThatCannotRemoveTheSessionFileSaysSoAndEndsTheSessionOnTheServer) {
    auto store = signedInStore();
    // Something that can be neither removed nor emptied sits where session.json was.
    store->finishDiskWork();
    ASSERT_TRUE(QFile::remove(folder.filePath("session.json")));
    ASSERT_TRUE(QDir(folder.path()).mkpath("session.json/inside"));

    const std::optional<QString> problem = QCoro::waitFor(store->signOut());
    ASSERT_TRUE(problem);
    EXPECT_EQ(*problem, "Couldn't remove session.json: Is a directory. Lumeno may sign you in again when it next "
                        "starts: remove the file from " + QDir::toNativeSeparators(folder.path()) + " yourself.");
    EXPECT_FALSE(store->isSignedIn());
    ASSERT_EQ(transport->waitingCount(), 1);
    EXPECT_EQ(lastRequest().url.path(), "/v1/auth/logout");
}

TEST_F(SessionTest, DeletingTheAccountSignsOutOnlyWhenTheServerAgrees) {
    auto store = signedInStore();
    transport->enqueue(
        FakeHttpTransport::json(409, errorBody("team_has_members", "Remove your team's members first.")));
    EXPECT_EQ(finished(store->deleteAccount()), "Remove your team's members first.");
    EXPECT_TRUE(store->isSignedIn());

    transport->enqueue(FakeHttpTransport::empty(204));
    EXPECT_EQ(finished(store->deleteAccount()), std::nullopt);
    EXPECT_EQ(lastRequest().method, HttpRequest::Method::del);
    EXPECT_FALSE(store->isSignedIn());
    store->finishDiskWork();
    EXPECT_FALSE(QFile::exists(folder.filePath("session.json")));
}

// ---------------------------------------------------------------------------------------------------------
// Team membership

class TeamTest : public FakeServerFixture {};

TEST_F(TeamTest, InviteAndRemoveReplaceTheMemberList) {
    auto store = signedInStore(true);
    QSignalSpy changes(store.get(), &AccountStore::teamDetailsChanged);

    EXPECT_EQ(finished(store->invite("not an address")), "Enter a valid email address.");
    EXPECT_TRUE(transport->requests().empty());

    transport->enqueue(
        FakeHttpTransport::json(200, teamAnswer({memberRecord("m2", "bo@example.com", "invited")})));
    EXPECT_EQ(finished(store->invite(" Bo@Example.com ")), std::nullopt);
    EXPECT_EQ(lastBody(), (QJsonObject{{"email", "bo@example.com"}}));
    ASSERT_TRUE(store->teamDetails().has_value());
    EXPECT_TRUE(store->teamDetails()->members.at(0).invited);

    transport->enqueue(FakeHttpTransport::json(200, teamAnswer({})));
    EXPECT_EQ(finished(store->removeMember("m2")), std::nullopt);
    EXPECT_EQ(lastBody(), (QJsonObject{{"memberId", "m2"}}));
    EXPECT_TRUE(store->teamDetails()->members.empty());
    EXPECT_EQ(changes.count(), 2);

    transport->enqueue(
        FakeHttpTransport::json(403, errorBody("not_owner", "Only the team's owner can do that.")));
    EXPECT_EQ(finished(store->removeMember("m9")), "Only the team's owner can do that.");
    EXPECT_TRUE(store->isSignedIn());
}

TEST_F(TeamTest, LeavingClearsTheTeamFromTheSession) {
    auto store = signedInStore(true);
    transport->enqueue(FakeHttpTransport::empty(204));
    EXPECT_EQ(finished(store->leaveTeam()), std::nullopt);
    EXPECT_FALSE(store->session()->team.has_value());
    store->finishDiskWork();
    EXPECT_FALSE(makeStore(nullptr)->session()->team.has_value());
}

TEST_F(TeamTest, ARefusedTokenDuringATeamChangeSignsOut) {
    auto store = signedInStore(true);
    transport->enqueue(FakeHttpTransport::json(401, errorBody("unauthorized")));
    EXPECT_EQ(finished(store->invite("bo@example.com")), "Your session has ended. Sign in again.");
    EXPECT_FALSE(store->isSignedIn());
    EXPECT_EQ(finished(store->leaveTeam()), "Sign in first.");
}

// ---------------------------------------------------------------------------------------------------------
// The drafting call

class DraftCallTest : public FakeServerFixture {};

TEST_F(DraftCallTest, SendsThePromptAndGivesTheReply) {
    auto store = signedInStore();
    transport->enqueue(FakeHttpTransport::json(
        200, jsonBytes({{"text", "Thursday works."}, {"provider", "anthropic"}, {"model", "m-1"}})));
    const DraftOutcome outcome = finished(outcomeOf(store->draft({"sys", "usr", 300})));
    ASSERT_TRUE(std::holds_alternative<DraftReply>(outcome));
    EXPECT_EQ(std::get<DraftReply>(outcome).text, "Thursday works.");
    EXPECT_EQ(lastBody(), (QJsonObject{{"system", "sys"}, {"user", "usr"}, {"tokenLimit", 300}}));
}

TEST_F(DraftCallTest, EveryServerAnswerBecomesItsDraftError) {
    const struct {
        HttpResult answer;
        DraftError expected;
    } cases[] = {
        {FakeHttpTransport::json(401, errorBody("unauthorized")), DraftError::signedOut()},
        {FakeHttpTransport::json(402, errorBody("billing", "Your trial has ended.")),
         DraftError::billing("Your trial has ended.")},
        {FakeHttpTransport::json(429, errorBody("rate_limited")), DraftError::rateLimited()},
        {FakeHttpTransport::json(502, errorBody("invalid_key", "The Anthropic key was refused.")),
         DraftError::invalidKey("The Anthropic key was refused.")},
        {FakeHttpTransport::json(502, errorBody("model_unavailable")), DraftError::modelUnavailable()},
        {FakeHttpTransport::json(502, errorBody("provider_error", "Overloaded.")),
         DraftError::providerError("Overloaded.")},
        {FakeHttpTransport::json(504, errorBody("provider_timeout")), DraftError::timeout()},
        {FakeHttpTransport::json(502, "<html>Bad Gateway</html>"), DraftError::server()},
        {FakeHttpTransport::json(500, errorBody("internal", "We're on it.")),
         DraftError::server("We're on it.")},
        {FakeHttpTransport::json(400, errorBody("prompt_too_long")), DraftError::server()},
        {FakeHttpTransport::json(200, "not json"), DraftError::server()},
        {FakeHttpTransport::json(200, jsonBytes({{"text", " \n "}})), DraftError::emptyResponse()},
        {FakeHttpTransport::failure(), DraftError::network()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.title().toStdString());
        auto store = signedInStore();
        transport->enqueue(c.answer);
        const DraftOutcome outcome = finished(outcomeOf(store->draft({"s", "u", 100})));
        ASSERT_TRUE(std::holds_alternative<DraftError>(outcome));
        EXPECT_EQ(std::get<DraftError>(outcome), c.expected);
    }
}

TEST_F(DraftCallTest, GivesUpAfterAMinute) {
    auto store = signedInStore();
    auto call = outcomeOf(store->draft({}));
    scheduler.advance(59);
    EXPECT_FALSE(call.isReady());
    scheduler.advance(1);
    ASSERT_TRUE(call.isReady());
    EXPECT_EQ(std::get<DraftError>(finished(call)), DraftError::timeout());
    EXPECT_TRUE(store->isSignedIn());
}

TEST_F(DraftCallTest, WithoutASessionOrAServerNothingIsSent) {
    auto signedOut = makeStore();
    EXPECT_EQ(std::get<DraftError>(finished(outcomeOf(signedOut->draft({})))), DraftError::signedOut());

    writeSessionFile(session().encoded());
    auto offline = makeStore(nullptr);
    EXPECT_EQ(std::get<DraftError>(finished(outcomeOf(offline->draft({})))),
              DraftError::server("This build isn't connected to a Lumeno server."));
    EXPECT_TRUE(transport->requests().empty());
}

} // namespace
} // namespace lumeno
