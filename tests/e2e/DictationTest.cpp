// Dictating a reply into another application's field, as a user does: hold the hot key, speak, let go.
#include "e2e/harness/E2eTest.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

namespace lumeno::e2e {

namespace {

using desktop::DesktopUser;

const QString answer = QStringLiteral("Thursday at noon works for me, see you at the café.");

QByteArray draftBody(const QString& text) {
    return QJsonDocument(QJsonObject{{"text", text}, {"provider", "anthropic"}, {"model", "test-model"}})
        .toJson(QJsonDocument::Compact);
}

// A picture the user copied before dictating, to find again on the clipboard afterwards.
QImage copiedPicture() {
    QImage picture(40, 24, QImage::Format_ARGB32);
    picture.fill(QColor(0x2a, 0x7a, 0xe2));
    QPainter(&picture).fillRect(8, 6, 12, 12, Qt::white);
    return picture;
}

class Dictation : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        becomeReturningUser();
        server.setDraftAnswer(200, draftBody(answer));
    }

    // Holds the hot key while the recording plays, as the user holds it while speaking.
    void holdAndSpeak(LumenoProcess& lumeno) {
        const qsizetype seen = qsizetype(lumeno.lines().size());
        user.press(DesktopUser::rightAlt);
        const bool played = lumeno.waitForLineContaining(QStringLiteral("The audio file has played to its end"),
                                                         patienceMs, seen).has_value();
        user.release(DesktopUser::rightAlt);
        ASSERT_TRUE(played) << lumeno.log().toStdString();
    }
};

TEST_F(Dictation, AHeldKeyPutsTheDraftInTheGtkFieldAndGivesTheClipboardBack) {
    home.setSetting(QStringLiteral("showsDraftDetails"), true);
    home.setSetting(QStringLiteral("savesDraftDetails"), true);
    // Copied a while ago: not what the reply answers, only what must be kept.
    const QImage picture = copiedPicture();
    copyToClipboard(QStringLiteral("the user's own copy"), picture);
    auto lumeno = launch(spoken(QStringLiteral("Tell Bo Thursday at noon works")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());

    holdAndSpeak(*lumeno);
    // A mail gets the user's sign-off under the model's text.
    EXPECT_TRUE(waitUntil([&] { return mail->text(QStringLiteral("reply")).startsWith(answer); }))
        << "field: " << mail->text(QStringLiteral("reply")).toStdString() << "\n" << lumeno->log().toStdString();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Offered 1 memory saves"))) << lumeno->log().toStdString();
    screenshotOnceStill(QStringLiteral("inserted"));

    // The overlay offers to remember Bo for a few seconds.
    ASSERT_TRUE(clickOn(lumeno->pid(), QStringLiteral("Save Bo Fischer as a person"))) << "no save offer to click";
    QFile memory(home.supportFile(QStringLiteral("memory.json")));
    ASSERT_TRUE(waitUntil([&] { return memory.exists(); })) << "no memory.json\n" << lumeno->log().toStdString();
    ASSERT_TRUE(memory.open(QIODevice::ReadOnly));
    EXPECT_TRUE(memory.readAll().contains("Bo Fischer"));
    screenshotOnceStill(QStringLiteral("saved"));

    EXPECT_TRUE(waitForClipboard(QStringLiteral("the user's own copy"), picture)) << "the user's clipboard was not restored";

    QFile file(home.supportFile(QStringLiteral("draft-details.jsonl")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << lumeno->log().toStdString();
    const QList<QByteArray> records = file.readAll().trimmed().split('\n');
    ASSERT_EQ(records.size(), 1);
    const QJsonObject record = QJsonDocument::fromJson(records.front()).object();
    EXPECT_EQ(record.value("outcome").toString(), QStringLiteral("Inserted")) << records.front().toStdString();
    EXPECT_EQ(record.value("result").toObject().value("finalText").toString(), mail->text(QStringLiteral("reply")));

    // The request holds the thread on screen and the dictation as it was heard.
    const std::vector<testing::TestServer::Seen> drafts = server.drafts();
    ASSERT_EQ(drafts.size(), 1u);
    const QString request = QString::fromUtf8(drafts.front().body);
    EXPECT_TRUE(request.contains(QStringLiteral("The café on Main Street has a new menu."))) << request.toStdString();
    const QString heard = record.value("dictation").toString();
    EXPECT_FALSE(heard.isEmpty());
    EXPECT_TRUE(request.contains(heard)) << request.toStdString();
}

TEST_F(Dictation, EscapeWhileDraftingInsertsNothingAndClosesTheRequestAtOnce) {
    server.setDraftDelay(std::chrono::seconds(20));
    auto lumeno = launch(spoken(QStringLiteral("Tell Bo Thursday at noon works")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());

    holdAndSpeak(*lumeno);
    ASSERT_TRUE(waitUntil([&] { return server.drafts().size() == 1; })) << lumeno->log().toStdString();
    screenshotOnceStill(QStringLiteral("drafting"));
    user.tap(DesktopUser::escape);
    // Long before the server would answer, the request is gone.
    EXPECT_TRUE(waitUntil([&] { return server.drafts().back().closedByClient; }, 3000)) << lumeno->log().toStdString();
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Cancelled (busy)"))) << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return popupsOf(lumeno->pid()).empty(); })) << "the overlay stayed";
    EXPECT_TRUE(mail->text(QStringLiteral("reply")).isEmpty());
    EXPECT_FALSE(lumeno->log().contains(QStringLiteral("Insert outcome")));
}

TEST_F(Dictation, EscapeWhileListeningSendsNothing) {
    auto lumeno = launch(spoken(QStringLiteral("Tell Bo Thursday at noon works")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());

    user.press(DesktopUser::rightAlt);
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Listening (hold, reply)"))) << lumeno->log().toStdString();
    user.tap(DesktopUser::escape);
    user.release(DesktopUser::rightAlt);
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Cancelled (listening"))) << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return popupsOf(lumeno->pid()).empty(); })) << "the overlay stayed";
    EXPECT_TRUE(server.drafts().empty());
    EXPECT_TRUE(mail->text(QStringLiteral("reply")).isEmpty());
}

TEST_F(Dictation, ATapListensHandsFreeUntilTheNextTap) {
    auto lumeno = launch(spoken(QStringLiteral("Tell Bo Thursday at noon works")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto mail = E2eTargets::gtkMail();
    ASSERT_TRUE(mail->waitUntilReady());

    user.tap(DesktopUser::rightAlt);
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Listening (hands-free, reply)"))) << lumeno->log().toStdString();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("The audio file has played to its end")));
    screenshotOnceStill(QStringLiteral("hands-free"));
    EXPECT_TRUE(server.drafts().empty()) << "hands-free listening ended by itself";
    user.tap(DesktopUser::rightAlt);
    EXPECT_TRUE(waitUntil([&] { return mail->text(QStringLiteral("reply")).startsWith(answer); }))
        << lumeno->log().toStdString();
}

TEST_F(Dictation, TheEditCombinationRewritesASelectionInTheQtWindowAndUndoPutsItBack) {
    const QString original = QStringLiteral("see you tomorrow at the office");
    server.setDraftAnswer(200, draftBody(QStringLiteral("See you tomorrow at the office.")));
    auto lumeno = launch(spoken(QStringLiteral("Make it a proper sentence")));
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    auto chat = desktop::AccessibleTargets::qt();
    ASSERT_TRUE(chat->waitUntilReady());
    ASSERT_TRUE(user.type(original));
    ASSERT_TRUE(chat->waitForText(QStringLiteral("reply"), original));
    user.press(DesktopUser::leftControl);
    user.tap(DesktopUser::letterA);
    user.release(DesktopUser::leftControl);

    const qsizetype seen = qsizetype(lumeno->lines().size());
    user.press(DesktopUser::rightAlt);
    user.press(DesktopUser::leftSuper);
    const bool played = lumeno->waitForLineContaining(QStringLiteral("The audio file has played to its end"),
                                                      patienceMs, seen).has_value();
    user.release(DesktopUser::leftSuper);
    user.release(DesktopUser::rightAlt);
    ASSERT_TRUE(played) << lumeno->log().toStdString();
    EXPECT_TRUE(chat->waitForText(QStringLiteral("reply"), QStringLiteral("See you tomorrow at the office.")))
        << chat->text(QStringLiteral("reply")).toStdString() << "\n" << lumeno->log().toStdString();
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Edit outcome"))) << lumeno->log().toStdString();
    screenshotOnceStill(QStringLiteral("edited"));

    ASSERT_TRUE(clickOn(lumeno->pid(), QStringLiteral("Undo"))) << "no Undo on the overlay\n" << lumeno->log().toStdString();
    EXPECT_TRUE(chat->waitForText(QStringLiteral("reply"), original))
        << chat->text(QStringLiteral("reply")).toStdString() << "\n" << lumeno->log().toStdString();
}

} // namespace

} // namespace lumeno::e2e
