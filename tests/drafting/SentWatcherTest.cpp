#include "drafting/SentWatcher.h"

#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeScenes.h"
#include "platform/fake/FakeWorkspace.h"
#include "support/ManualScheduler.h"
#include "testsupport/QtPrinters.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

class SentWatcherTest : public ::testing::Test {
protected:
    SentWatcherTest() {
        watcher.onLearn = [this](const QString& text) { learned.append(text); };
    }

    // What the user does in a field, one second at a time as the watcher sees it.
    void setText(FakeDesktop::ElementId field, const QString& text) {
        desktop.change(field, [&](FakeDesktop::Element& element) { element.value = text; });
        scheduler.advance(1);
    }

    // The draft goes into the field at the caret, as the inserter puts it there.
    void insertDraft(FakeDesktop::ElementId field, const QString& draft) {
        desktop.change(field, [&](FakeDesktop::Element& element) { element.value = draft + element.value.value_or(QString()); });
        watcher.watch(desktop.handle(field), draft);
    }

    ManualClock clock;
    ManualScheduler scheduler{clock};
    FakeWorkspace workspace;
    FakeDesktop desktop{workspace, &clock};
    SentWatcher watcher{desktop.accessibility(), scheduler, clock};
    QStringList learned;
};

const QString chatDraft = QStringLiteral("Yes, I can join the call at 3. I'll read the contract after lunch.");
const QString mailDraft = QStringLiteral("Hi Ana,\n\nFriday at 12:30 works for me.\n\nBest,\nBob");

TEST_F(SentWatcherTest, LearnsWhatTheUserEditedAndSentInAChat) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    insertDraft(chat.composer, chatDraft);
    scheduler.advance(1);
    setText(chat.composer, QStringLiteral("Yes, I can join the call at 3! I'll read the contract after lunch 🙂"));
    setText(chat.composer, QString()); // sent: the composer empties
    EXPECT_EQ(learned, QStringList{"Yes, I can join the call at 3! I'll read the contract after lunch 🙂"});
    EXPECT_FALSE(watcher.isWatching());
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(SentWatcherTest, AnUneditedDraftTeachesNothing) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    insertDraft(chat.composer, chatDraft);
    scheduler.advance(3);
    setText(chat.composer, QString());
    EXPECT_TRUE(learned.isEmpty());
    EXPECT_FALSE(watcher.isWatching());
}

TEST_F(SentWatcherTest, LearnsOnlyTheUsersPartOfAnEmailBody) {
    const FakeScenes::MailReply mail = FakeScenes::mailReply(desktop);
    const QString quoted = desktop.valueOf(mail.body);
    insertDraft(mail.body, mailDraft);
    scheduler.advance(1);
    const QString edited = QStringLiteral("Hi Ana,\n\nFriday at 12:30 works great, see you there.\n\nBest,\nBob");
    setText(mail.body, edited + quoted);
    desktop.remove(mail.window); // sent: the reply window closes
    scheduler.advance(1);
    EXPECT_EQ(learned, QStringList{edited});
}

TEST_F(SentWatcherTest, AFieldThatRewrapsTheDraftDoesNotCountAsAnEdit) {
    // The mail body turned the draft's blank lines into single line breaks; the user then sent it unchanged.
    const FakeScenes::MailReply mail = FakeScenes::mailReply(desktop);
    const QString quoted = desktop.valueOf(mail.body);
    const QString rewrapped = QStringLiteral("Hi Ana,\nFriday at 12:30 works for me.\nBest,\nBob");
    desktop.change(mail.body, [&](FakeDesktop::Element& element) { element.value = rewrapped + quoted; });
    watcher.watch(desktop.handle(mail.body), mailDraft);
    scheduler.advance(2);
    desktop.remove(mail.window);
    scheduler.advance(1);
    EXPECT_TRUE(learned.isEmpty());
    EXPECT_FALSE(watcher.isWatching());
}

TEST_F(SentWatcherTest, AReplyDeletedAboveTheQuotedOriginalIsNotLearned) {
    const FakeScenes::MailReply mail = FakeScenes::mailReply(desktop);
    const QString quoted = desktop.valueOf(mail.body);
    insertDraft(mail.body, mailDraft);
    setText(mail.body, QString(mailDraft).replace(QStringLiteral("12:30"), QStringLiteral("1")) + quoted);
    setText(mail.body, quoted); // the user threw the reply away; only the quoted original is left
    EXPECT_TRUE(watcher.isWatching());
    desktop.remove(mail.window); // and closed the window
    scheduler.advance(1);
    EXPECT_TRUE(learned.isEmpty());
}

TEST_F(SentWatcherTest, GivesUpWhenTheFieldHoldsAnotherMessage) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    insertDraft(chat.composer, chatDraft);
    scheduler.advance(1);
    setText(chat.composer, QStringLiteral("Actually, can someone else take this one? Sorry!"));
    EXPECT_FALSE(watcher.isWatching());
    setText(chat.composer, QString());
    EXPECT_TRUE(learned.isEmpty());
}

TEST_F(SentWatcherTest, GivesUpAfterItsTimeAndWhenLearningIsSwitchedOff) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    insertDraft(chat.composer, chatDraft);
    setText(chat.composer, chatDraft + QStringLiteral(" Thanks!"));
    scheduler.advance(SentWatcher::giveUpSeconds);
    EXPECT_FALSE(watcher.isWatching());
    EXPECT_EQ(scheduler.pendingCount(), 0);

    bool learning = true;
    watcher.isLearning = [&] { return learning; };
    insertDraft(chat.composer, chatDraft);
    setText(chat.composer, chatDraft + QStringLiteral(" Cheers"));
    learning = false;
    setText(chat.composer, QString());
    EXPECT_TRUE(learned.isEmpty());
}

TEST_F(SentWatcherTest, ALastTickBeforeStoppingStillCatchesTheSend) {
    // A new dictation begins right after the user sent: the loop ticks once more, then stops.
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    insertDraft(chat.composer, chatDraft);
    setText(chat.composer, QStringLiteral("Yes, I can join at 3. Contract after lunch."));
    desktop.change(chat.composer, [](FakeDesktop::Element& element) { element.value = QString(); });
    watcher.tick();
    watcher.stop();
    EXPECT_EQ(learned, QStringList{"Yes, I can join at 3. Contract after lunch."});
}

} // namespace
} // namespace lumeno
