#include "drafting/SentWatcher.h"

#include "platform/fake/FakeDesktop.h"
#include "platform/fake/FakeScenes.h"
#include "platform/fake/FakeWorkspace.h"
#include "support/ManualScheduler.h"
#include "testsupport/GatedAccessibility.h"
#include "testsupport/QtPrinters.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <gtest/gtest.h>


namespace lumeno {
namespace {

class SentWatcherTest : public ::testing::Test {
protected:
    SentWatcherTest() {
        watcher.onLearn = [this](const QString& text) { learned.append(text); };
    }

    // Lets the reads on worker threads deliver.
    static void settle() {
        for (int round = 0; round < 3; ++round) {
            QThreadPool::globalInstance()->waitForDone();
            QCoreApplication::processEvents();
        }
    }
    // Time passes a second at a time, each tick's read answered before the next.
    void pass(int seconds) {
        for (int second = 0; second < seconds; ++second) {
            scheduler.advance(1);
            settle();
        }
    }

    // What the user does in a field, one second at a time as the watcher sees it.
    void setText(FakeDesktop::ElementId field, const QString& text) {
        desktop.change(field, [&](FakeDesktop::Element& element) { element.value = text; });
        pass(1);
    }

    // The draft goes into the field at the caret, as the inserter puts it there.
    void insertDraft(FakeDesktop::ElementId field, const QString& draft) {
        desktop.change(field, [&](FakeDesktop::Element& element) { element.value = draft + element.value.value_or(QString()); });
        watcher.watch(desktop.handle(field), draft);
        settle();
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
    pass(1);
    setText(chat.composer, QStringLiteral("Yes, I can join the call at 3! I'll read the contract after lunch 🙂"));
    setText(chat.composer, QString()); // sent: the composer empties
    EXPECT_EQ(learned, QStringList{"Yes, I can join the call at 3! I'll read the contract after lunch 🙂"});
    EXPECT_FALSE(watcher.isWatching());
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(SentWatcherTest, AnUneditedDraftTeachesNothing) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    insertDraft(chat.composer, chatDraft);
    pass(3);
    setText(chat.composer, QString());
    EXPECT_TRUE(learned.isEmpty());
    EXPECT_FALSE(watcher.isWatching());
}

TEST_F(SentWatcherTest, LearnsOnlyTheUsersPartOfAnEmailBody) {
    const FakeScenes::MailReply mail = FakeScenes::mailReply(desktop);
    const QString quoted = desktop.valueOf(mail.body);
    insertDraft(mail.body, mailDraft);
    pass(1);
    const QString edited = QStringLiteral("Hi Ana,\n\nFriday at 12:30 works great, see you there.\n\nBest,\nBob");
    setText(mail.body, edited + quoted);
    desktop.remove(mail.window); // sent: the reply window closes
    pass(1);
    EXPECT_EQ(learned, QStringList{edited});
}

TEST_F(SentWatcherTest, AFieldThatRewrapsTheDraftDoesNotCountAsAnEdit) {
    // The mail body turned the draft's blank lines into single line breaks; the user then sent it unchanged.
    const FakeScenes::MailReply mail = FakeScenes::mailReply(desktop);
    const QString quoted = desktop.valueOf(mail.body);
    const QString rewrapped = QStringLiteral("Hi Ana,\nFriday at 12:30 works for me.\nBest,\nBob");
    desktop.change(mail.body, [&](FakeDesktop::Element& element) { element.value = rewrapped + quoted; });
    watcher.watch(desktop.handle(mail.body), mailDraft);
    settle();
    pass(2);
    desktop.remove(mail.window);
    pass(1);
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
    pass(1);
    EXPECT_TRUE(learned.isEmpty());
}

TEST_F(SentWatcherTest, GivesUpWhenTheFieldHoldsAnotherMessage) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    insertDraft(chat.composer, chatDraft);
    pass(1);
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
    settle();
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
    watcher.conclude();
    EXPECT_FALSE(watcher.isWatching());
    settle();
    EXPECT_EQ(learned, QStringList{"Yes, I can join at 3. Contract after lunch."});
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(SentWatcherTest, AFieldThatStopsAnsweringNeverHoldsTheMainThread) {
    // The read waits on a worker thread for the application; the main thread goes on, and no second read
    // is asked for while the first is out.
    testing::GatedAccessibility gated(desktop.accessibility());
    SentWatcher slowWatcher(gated, scheduler, clock);
    slowWatcher.onLearn = [this](const QString& text) { learned.append(text); };
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    desktop.change(chat.composer, [&](FakeDesktop::Element& element) { element.value = chatDraft; });
    slowWatcher.watch(desktop.handle(chat.composer), chatDraft);
    settle();
    setText(chat.composer, QStringLiteral("Yes, I can join at 3. Contract after lunch."));

    gated.holdNextCall();
    desktop.change(chat.composer, [](FakeDesktop::Element& element) { element.value = QString(); });
    scheduler.advance(1);
    ASSERT_TRUE(gated.waitUntilHeld());
    const int answersBefore = gated.answers();
    scheduler.advance(3); // ticks while the read is out ask nothing more
    QCoreApplication::processEvents();
    EXPECT_TRUE(learned.isEmpty()) << "the answer is still on its way";
    EXPECT_TRUE(slowWatcher.isWatching());

    gated.letGo();
    settle();
    EXPECT_EQ(gated.answers(), answersBefore + 1);
    EXPECT_EQ(learned, QStringList{"Yes, I can join at 3. Contract after lunch."});
    EXPECT_FALSE(slowWatcher.isWatching());
}

} // namespace
} // namespace lumeno
