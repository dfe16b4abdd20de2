#include "platform/linux/AtspiDesktopTest.h"

#include "platform/linux/harness/AccessibleTargets.h"
#include "platform/AXNames.h"
#include "platform/linux/LinuxAccessibilityTrust.h"

namespace lumeno::desktop {
namespace {

constexpr int browserStartMs = 30000;

// Chromium with a local page holding a thread, a password field and a field
// (target/conversation.html). It shows a page's content on the bus only when told to.
class AtspiChromiumTest : public AtspiApplicationTest<AtspiChromiumTest> {
public:
    static const char* applicationName() { return "Chromium"; }

protected:
    static void SetUpTestSuite() {
        if (!canRun())
            return;
        profile = std::make_unique<QTemporaryDir>();
        app = AccessibleTargets::chromium(profile->path());
        if (!app)
            return;
        accessibility = connect();
        field = waitForFocus(*accessibility, app->pid(), AXRole::textArea, browserStartMs);
    }
};

TEST_F(AtspiChromiumTest, TheTextareaIsReadWithItsPageAddress) {
    const std::optional<FocusSnapshot> front = activeSnapshot(*accessibility, app->pid());
    ASSERT_TRUE(front);
    EXPECT_EQ(front->element, field);
    EXPECT_EQ(front->role, QString(AXRole::textArea));
    EXPECT_EQ(front->roleName, QStringLiteral("entry")) << "the role as AT-SPI names it";
    EXPECT_EQ(front->editability, FocusSnapshot::Editability::editable);
    EXPECT_TRUE(front->isChromium);
    EXPECT_EQ(front->webURL, AccessibleTargets::chromiumPage().toString());
    EXPECT_TRUE(front->windowTitle.value_or(QString()).contains(QStringLiteral("Team chat")));
    EXPECT_EQ(accessibility->string(*field, AXAttribute::value), QStringLiteral("Draft é 🎉 here"));
    saveScreen(QStringLiteral("atspi-chromium-page"));
}

TEST_F(AtspiChromiumTest, ItIsKnownToReadTheAccessibilitySwitchOnlyAsItStarts) {
    LinuxAccessibilityTrust trust;
    EXPECT_TRUE(trust.needsRestartToBeRead(app->pid()));
    // Qt follows the switch while it runs: this test's own process is one.
    EXPECT_FALSE(trust.needsRestartToBeRead(QCoreApplication::applicationPid()));
    EXPECT_FALSE(trust.needsRestartToBeRead(0));
}

TEST_F(AtspiChromiumTest, TheThreadIsReadAsWholeMessagesWithoutControlsOrThePassword) {
    const std::optional<ScreenReader::Conversation> read = conversation(*accessibility, *field);
    ASSERT_TRUE(read);
    // The link inside the first message is part of its line, not a line of its own.
    EXPECT_TRUE(read->text.contains(QStringLiteral("Ana: Can we move the review to Friday?\n"
                                                   "Me: Let me check my calendar.\n"
                                                   "Ana: Bring the budget numbers 🎉 please.")))
        << read->text.toStdString();
    EXPECT_FALSE(read->text.contains(QStringLiteral("hunter2")));
    EXPECT_FALSE(read->text.contains(QStringLiteral("Send")));
    EXPECT_FALSE(read->text.contains(QStringLiteral("Draft")));
}

TEST_F(AtspiChromiumTest, ASelectionPastAnEmojiIsSetInCodePointsAndTheClipboardPastesOverIt) {
    // Chromium has no EditableText: the text goes in by selecting it and pasting.
    EXPECT_FALSE(accessibility->isSettable(*field, AXAttribute::selectedText).value_or(true));
    // Before the emoji the page reports a selection faithfully (once it has applied it, after answering)...
    ASSERT_TRUE(accessibility->setAttribute(*field, AXAttribute::selectedTextRange, TextRange{6, 1}));
    ASSERT_TRUE(waitUntil([&] { return accessibility->string(*field, AXAttribute::selectedText) == QStringLiteral("é"); }));
    EXPECT_EQ(accessibility->range(*field, AXAttribute::selectedTextRange), (TextRange{6, 1}));
    // ...past it, it misreports one: the selection reads as unknown rather than as the wrong text.
    ASSERT_TRUE(accessibility->setAttribute(*field, AXAttribute::selectedTextRange, TextRange{10, 5}));
    ASSERT_TRUE(waitUntil([&] { return !accessibility->attribute(*field, AXAttribute::selectedText); }));

    DesktopInserter desktop(*accessibility);
    const QImage before = grabScreen();
    // What was selected, " here", is what the paste replaces: the selection was set where it was meant.
    const FieldInserter::Outcome outcome =
        finish(desktop.inserter.insert(QStringLiteral(", thanks 👍"), app->pid(), false), 10000);
    EXPECT_EQ(outcome, FieldInserter::Outcome::inserted(true)) << outcome.description().toStdString();
    EXPECT_EQ(accessibility->string(*field, AXAttribute::value), QStringLiteral("Draft é 🎉, thanks 👍"));
    EXPECT_FALSE(screenshotOnceChanged(QStringLiteral("atspi-chromium-pasted"), before).isEmpty());
}

} // namespace
} // namespace lumeno::desktop
