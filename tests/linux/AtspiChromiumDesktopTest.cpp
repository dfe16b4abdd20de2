#include "linux/AtspiDesktopTest.h"

#include "linux/harness/AccessibleTargets.h"
#include "platform/AXNames.h"
#include "platform/linux/X11FrontmostApplication.h"
#include "platform/linux/X11KeySynth.h"
#include "platform/linux/X11Pasteboard.h"
#include "platform/linux/X11SyntheticKeys.h"
#include "platform/linux/XcbConnection.h"
#include "screen/FieldInserter.h"
#include "support/QtScheduler.h"

#include <QTemporaryDir>

namespace lumeno::desktop {
namespace {

constexpr int browserStartMs = 30000;

// Chromium with a local page holding a thread, a password field and a textarea
// (target/conversation.html). It shows a page's content on the bus only when told to.
class AtspiChromiumTest : public AtspiDesktopTest {
protected:
    static void SetUpTestSuite() {
        if (!canRun())
            return;
        profile = std::make_unique<QTemporaryDir>();
        app = AccessibleTargets::chromium(profile->path());
        if (!app)
            return;
        accessibility = connect();
        textarea = waitForFocus(*accessibility, app->pid(), AXRole::textArea, browserStartMs);
    }
    static void TearDownTestSuite() {
        accessibility.reset();
        app.reset();
        profile.reset();
    }

    void SetUp() override {
        AtspiDesktopTest::SetUp();
        if (IsSkipped())
            return;
        if (!app)
            GTEST_SKIP() << "Chromium is not installed";
        if (!textarea)
            GTEST_SKIP() << "Chromium did not show the page on the accessibility bus";
    }

    static inline std::unique_ptr<QTemporaryDir> profile;
    static inline std::unique_ptr<AccessibleApp> app;
    static inline std::unique_ptr<AtspiAccessibility> accessibility;
    static inline std::optional<AccessibleElement> textarea;
};

TEST_F(AtspiChromiumTest, TheTextareaIsReadWithItsPageAddress) {
    const std::optional<FocusSnapshot> front = activeSnapshot(*accessibility, app->pid());
    ASSERT_TRUE(front);
    EXPECT_EQ(front->element, textarea);
    EXPECT_EQ(front->role, QString(AXRole::textArea));
    EXPECT_EQ(front->editability, FocusSnapshot::Editability::editable);
    EXPECT_TRUE(front->isChromium);
    EXPECT_EQ(front->webURL, AccessibleTargets::chromiumPage().toString());
    EXPECT_TRUE(front->windowTitle.value_or(QString()).contains(QStringLiteral("Team chat")));
    EXPECT_EQ(accessibility->string(*textarea, AXAttribute::value), QStringLiteral("Draft é 🎉 here"));
    saveScreen(QStringLiteral("atspi-chromium-page"));
}

TEST_F(AtspiChromiumTest, TheThreadIsReadAsWholeMessagesWithoutControlsOrThePassword) {
    const std::optional<ScreenReader::Conversation> read = conversation(*accessibility, *textarea);
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
    EXPECT_FALSE(accessibility->isSettable(*textarea, AXAttribute::selectedText).value_or(true));
    // Before the emoji the page reports a selection faithfully (once it has applied it, after answering)...
    ASSERT_TRUE(accessibility->setAttribute(*textarea, AXAttribute::selectedTextRange, TextRange{6, 1}));
    ASSERT_TRUE(waitUntil([&] { return accessibility->string(*textarea, AXAttribute::selectedText) == QStringLiteral("é"); }));
    EXPECT_EQ(accessibility->range(*textarea, AXAttribute::selectedTextRange), (TextRange{6, 1}));
    // ...past it, it misreports one: the selection reads as unknown rather than as the wrong text.
    ASSERT_TRUE(accessibility->setAttribute(*textarea, AXAttribute::selectedTextRange, TextRange{10, 5}));
    ASSERT_TRUE(waitUntil([&] { return !accessibility->attribute(*textarea, AXAttribute::selectedText); }));

    QtScheduler scheduler;
    const std::shared_ptr<XcbConnection> queries = XcbConnection::open();
    const auto frontmost = std::make_shared<X11FrontmostApplication>(queries);
    LinuxWorkspace workspace;
    workspace.frontmost = [frontmost] { return frontmost->read(); };
    X11Pasteboard pasteboard(
        scheduler,
        [frontmost]() -> std::optional<qint64> {
            const std::optional<RunningApplication> front = frontmost->read();
            return front ? std::optional(front->pid) : std::nullopt;
        },
        queries);
    X11KeySynth keys(XcbConnection::open(), std::make_shared<X11SyntheticKeys>(), scheduler);
    FocusInspector inspector(workspace, *accessibility);
    FieldInserter inserter(inspector, *accessibility, pasteboard, keys, scheduler);
    const QImage before = grabScreen();
    // What was selected, " here", is what the paste replaces: the selection was set where it was meant.
    const FieldInserter::Outcome outcome =
        finish(inserter.insert(QStringLiteral(", thanks 👍"), app->pid(), false), 10000);
    EXPECT_EQ(outcome, FieldInserter::Outcome::inserted(true)) << outcome.description().toStdString();
    EXPECT_EQ(accessibility->string(*textarea, AXAttribute::value), QStringLiteral("Draft é 🎉, thanks 👍"));
    EXPECT_FALSE(screenshotOnceChanged(QStringLiteral("atspi-chromium-pasted"), before).isEmpty());
}

} // namespace
} // namespace lumeno::desktop
