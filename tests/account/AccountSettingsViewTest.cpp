#include "account/AccountSettingsView.h"

#include "AccountTestSupport.h"
#include "testsupport/Screenshots.h"
#include "ui/ProblemLabel.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>

namespace lumeno {
namespace {

using namespace lumeno::testing;

QJsonObject member(const QString& id, const QString& email, const QString& name, const QString& role,
                   const QString& status) {
    return {{"id", id}, {"email", email}, {"name", name}, {"role", role}, {"status", status}};
}

QByteArray teamAnswer(const QString& role) {
    const QJsonArray members{
        member("m1", "ada@example.com", "Ada Park", role == "owner" ? "owner" : "member", "active"),
        member("m2", "bo@example.com", "Bo Lindqvist", role == "owner" ? "member" : "owner", "active"),
        member("m3", "cy@example.com", "", "member", "invited"),
    };
    return jsonBytes({{"team", teamRecord(role)}, {"members", members}});
}

class AccountSettingsViewTest : public FakeServerFixture {
protected:
    std::unique_ptr<AccountStore> store;
    std::unique_ptr<AccountSettingsView> view;

    void show(std::unique_ptr<AccountStore> s) {
        store = std::move(s);
        view = std::make_unique<AccountSettingsView>(*store);
        view->resize(560, 640);
        view->show();
        settle();
    }

    // Lets deferred deletions and layouts happen, as the event loop would between two user actions.
    void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    template <typename T = QWidget> T* find(const QString& name) {
        T* child = view->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name.toStdString();
        return child;
    }
    bool shown(const QString& name) {
        auto* child = view->findChild<QWidget*>(name);
        return child && child->isVisibleTo(view.get());
    }
    void type(const QString& field, const QString& text) {
        QLineEdit* edit = find<QLineEdit>(field);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    void click(const QString& name) {
        QPushButton* button = find<QPushButton>(name);
        ASSERT_TRUE(button->isEnabled()) << name.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
    }
    QString problem(const QString& name) { return find<ProblemLabel>(name)->text(); }

    // What the user sees, for a person to look at.
    void snapshot(const QString& name) {
        settle();
        screenshots::save(screenshots::onDesktop(*view), name);
    }

    // Shows a signed-in store and answers the refresh that showing the tab starts.
    void showSignedIn(const QString& role) {
        show(signedInStore(true));
        ASSERT_EQ(transport->waitingCount(), 1);
        transport->respond(
            FakeHttpTransport::json(200, jsonBytes({{"user", userRecord()}, {"team", teamRecord(role)}})));
        transport->respond(FakeHttpTransport::json(200, teamAnswer(role)));
        settle();
    }
};

TEST_F(AccountSettingsViewTest, SignInByCodeFromTheTab) {
    show(makeStore());
    EXPECT_TRUE(shown("signedOutPage"));
    EXPECT_FALSE(find<QPushButton>("signInButton")->isEnabled()) << "nothing typed yet";
    EXPECT_FALSE(shown("codeField"));
    snapshot("account-signed-out");

    type("nameField", "Ada Park");
    type("emailField", "Ada@Example.com");
    transport->enqueue(FakeHttpTransport::empty(204));
    click("signInButton");
    EXPECT_EQ(lastBody(), (QJsonObject{{"email", "ada@example.com"}}));
    EXPECT_TRUE(shown("codeField"));
    EXPECT_FALSE(shown("emailField"));
    EXPECT_EQ(find<QLabel>("sentToLabel")->text(), "ada@example.com");
    EXPECT_EQ(find<QPushButton>("signInButton")->text(), "Sign In");

    type("codeField", "000000");
    transport->enqueue(
        FakeHttpTransport::json(400, errorBody("invalid_code", "That code is wrong or has expired.")));
    click("signInButton");
    EXPECT_EQ(problem("signInProblem"), "That code is wrong or has expired.");
    snapshot("account-code-problem");

    type("codeField", "123456");
    transport->enqueue(
        FakeHttpTransport::json(200, jsonBytes({{"token", "tok-New"}, {"user", userRecord()}})));
    click("signInButton");
    EXPECT_TRUE(store->isSignedIn());
    EXPECT_TRUE(shown("signedInPage"));
    EXPECT_EQ(find<QLabel>("headerTitle")->text(), "Ada Park");
}

TEST_F(AccountSettingsViewTest, ChangingTheAddressGoesBackToTheEmailField) {
    show(makeStore());
    type("emailField", "ada@example.com");
    transport->enqueue(FakeHttpTransport::empty(204));
    click("signInButton");
    type("codeField", "12");
    click("changeEmailButton");
    EXPECT_TRUE(shown("emailField"));
    EXPECT_EQ(find<QLineEdit>("emailField")->text(), "ada@example.com");
    EXPECT_EQ(store->pendingEmail(), std::nullopt);
}

TEST_F(AccountSettingsViewTest, WithoutAServerTheTabSaysSoAndSendsNothing) {
    show(makeStore(nullptr));
    EXPECT_EQ(problem("signInProblem"), "This build isn't connected to a Lumeno server.");
    type("emailField", "ada@example.com");
    EXPECT_FALSE(find<QPushButton>("signInButton")->isEnabled());
    snapshot("account-no-server");
}

TEST_F(AccountSettingsViewTest, TheOwnerSeesMembersAndInvitesAndRemoves) {
    showSignedIn("owner");
    EXPECT_EQ(find<QLabel>("teamName")->text(), "Harbor Studio");
    ASSERT_NE(view->findChild<QWidget*>("member-m3"), nullptr);
    const auto removeButtons = view->findChildren<QPushButton*>("removeButton");
    EXPECT_EQ(removeButtons.size(), 2) << "Bo and Cy's invitation, never the owner";
    EXPECT_TRUE(shown("inviteField"));
    EXPECT_FALSE(shown("leaveTeamButton"));
    snapshot("account-signed-in-owner");

    type("inviteField", "not-an-address");
    click("inviteButton");
    EXPECT_EQ(problem("teamProblem"), "Enter a valid email address.");
    snapshot("account-invite-problem");

    QPushButton* removeBo = view->findChild<QWidget*>("member-m2")->findChild<QPushButton*>("removeButton");
    ASSERT_NE(removeBo, nullptr);
    QTest::mouseClick(removeBo, Qt::LeftButton);
    EXPECT_EQ(lastBody(), (QJsonObject{{"memberId", "m2"}}));
    EXPECT_FALSE(find("leaveTeamButton")->parentWidget()->isEnabled()) << "no second click while it is sent";
    transport->respond(FakeHttpTransport::json(
        200, jsonBytes(
                 {{"team", teamRecord()},
                  {"members", QJsonArray{member("m1", "ada@example.com", "Ada Park", "owner", "active")}}})));
    settle();
    EXPECT_EQ(view->findChild<QWidget*>("member-m2"), nullptr);
    EXPECT_TRUE(problem("teamProblem").isEmpty());
}

TEST_F(AccountSettingsViewTest, AMemberCanLeaveButNotManage) {
    showSignedIn("member");
    EXPECT_TRUE(view->findChildren<QPushButton*>("removeButton").isEmpty());
    EXPECT_FALSE(shown("inviteField"));
    EXPECT_TRUE(shown("leaveTeamButton"));
    snapshot("account-signed-in-member");

    transport->enqueue(FakeHttpTransport::empty(204));
    click("leaveTeamButton");
    EXPECT_FALSE(store->session()->team.has_value());
    EXPECT_FALSE(shown("leaveTeamButton"));
}

TEST_F(AccountSettingsViewTest, RenameSavesTheTrimmedNameOnlyWhenItChanged) {
    showSignedIn("owner");
    EXPECT_FALSE(find<QPushButton>("saveNameButton")->isEnabled());
    type("renameField", "   ");
    EXPECT_FALSE(find<QPushButton>("saveNameButton")->isEnabled());
    type("renameField", "  Ada Park-Lee ");
    click("saveNameButton");
    EXPECT_EQ(store->session()->user.name, "Ada Park-Lee");
    EXPECT_EQ(find<QLabel>("headerTitle")->text(), "Ada Park-Lee");
    EXPECT_EQ(lastRequest().method, HttpRequest::Method::patch);
    EXPECT_FALSE(find<QPushButton>("saveNameButton")->isEnabled());
}

TEST_F(AccountSettingsViewTest, DeletingTheAccountNeedsAConfirmation) {
    showSignedIn("owner");
    const size_t sent = transport->requests().size();
    EXPECT_FALSE(shown("deleteConfirmation"));
    click("deleteAccountButton");
    EXPECT_TRUE(shown("deleteConfirmation"));
    EXPECT_EQ(transport->requests().size(), sent);
    snapshot("account-delete-confirmation");
    click("cancelDeleteButton");
    EXPECT_FALSE(shown("deleteConfirmation"));
    EXPECT_EQ(transport->requests().size(), sent);

    click("deleteAccountButton");
    transport->enqueue(
        FakeHttpTransport::json(409, errorBody("team_has_members", "Remove your team's members first.")));
    click("confirmDeleteButton");
    EXPECT_EQ(problem("deleteProblem"), "Remove your team's members first.");
    EXPECT_TRUE(store->isSignedIn());

    click("deleteAccountButton");
    transport->enqueue(FakeHttpTransport::empty(204));
    click("confirmDeleteButton");
    EXPECT_FALSE(store->isSignedIn());
    EXPECT_TRUE(shown("signedOutPage"));
}

TEST_F(AccountSettingsViewTest, SignOutShowsAFreshSignInForm) {
    showSignedIn("owner");
    click("signOutButton");
    EXPECT_FALSE(store->isSignedIn());
    EXPECT_TRUE(shown("signedOutPage"));
    EXPECT_TRUE(find<QLineEdit>("emailField")->text().isEmpty());
}

TEST_F(AccountSettingsViewTest, ASignOutThatLeavesTheSessionFileBehindTellsTheUser) {
    showSignedIn("owner");
    // Something that can be neither removed nor emptied sits where session.json was.
    ASSERT_TRUE(QFile::remove(folder.filePath("session.json")));
    ASSERT_TRUE(QDir(folder.path()).mkpath("session.json/inside"));
    click("signOutButton");

    EXPECT_FALSE(store->isSignedIn());
    EXPECT_TRUE(shown("signedOutPage"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->findChild<QMessageBox*>("signOutProblem"); }));
    auto* alert = view->findChild<QMessageBox*>("signOutProblem");
    EXPECT_EQ(alert->text(), "Couldn't sign out completely");
    QTextDocument shownText;
    shownText.setHtml(alert->informativeText());
    EXPECT_TRUE(shownText.toPlainText().startsWith("Couldn't remove session.json: Is a directory. Lumeno may sign you "
                                                   "in again when it next starts"))
        << shownText.toPlainText().toStdString();
    settle();
    screenshots::save(screenshots::onDesktop(*alert), "account-sign-out-problem");
}

} // namespace
} // namespace lumeno
