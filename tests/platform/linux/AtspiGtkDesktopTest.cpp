#include "platform/linux/AtspiDesktopTest.h"

#include "platform/linux/harness/AccessibleTargets.h"
#include "platform/linux/LinuxAccessibilityTrust.h"
#include "platform/AXNames.h"

namespace lumeno::desktop {
namespace {

const QString draft = QStringLiteral("Draft é 🎉 here");

// A GTK 3 text view under a conversation of labels (target/gtk-conversation.py).
class AtspiGtkTest : public AtspiDesktopTest {
protected:
    static void SetUpTestSuite() {
        if (!canRun())
            return;
        app = AccessibleTargets::gtk(draft);
        ready = app->waitUntilReady();
        accessibility = connect();
    }
    static void TearDownTestSuite() {
        accessibility.reset();
        app.reset();
    }

    void SetUp() override {
        AtspiDesktopTest::SetUp();
        if (IsSkipped())
            return;
        if (!ready)
            GTEST_SKIP() << "The GTK window did not start (python3-gi and gir1.2-gtk-3.0 install it)";
        view = waitForFocus(*accessibility, app->pid(), AXRole::textArea);
        ASSERT_TRUE(view) << "the text view never had the focus";
    }

    static inline std::unique_ptr<AccessibleApp> app;
    static inline std::unique_ptr<AtspiAccessibility> accessibility;
    static inline bool ready = false;
    std::optional<AccessibleElement> view;
};

TEST_F(AtspiGtkTest, ItFollowsTheAccessibilitySwitchWhileItRuns) {
    EXPECT_FALSE(LinuxAccessibilityTrust().needsRestartToBeRead(app->pid()));
}

TEST_F(AtspiGtkTest, TheTextViewAndTheConversationAboveItAreRead) {
    EXPECT_EQ(accessibility->toolkitName(app->pid()), QStringLiteral("gtk"));
    const std::optional<FocusSnapshot> front = activeSnapshot(*accessibility, app->pid());
    ASSERT_TRUE(front);
    EXPECT_EQ(front->element, view);
    EXPECT_EQ(front->role, QString(AXRole::textArea));
    EXPECT_EQ(front->roleName, QStringLiteral("text")) << "the role as AT-SPI names it";
    EXPECT_EQ(front->editability, FocusSnapshot::Editability::editable);
    EXPECT_EQ(front->windowTitle, QStringLiteral("Lunch with Bo"));
    EXPECT_TRUE(front->hasKeyboardFocus);

    const std::optional<ScreenReader::Conversation> read = conversation(*accessibility, *view);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text.left(read->fieldOffset).trimmed(),
              QStringLiteral("Bo: Lunch tomorrow?\nMe: Sure, where?\nBo: The café on Main Street 🍜"));
    EXPECT_FALSE(read->text.contains(draft));
    saveScreen(QStringLiteral("atspi-gtk-conversation"));
}

TEST_F(AtspiGtkTest, ReplacementCountsCodePointsAndInsertsByTheByte) {
    ASSERT_TRUE(accessibility->setAttribute(*view, AXAttribute::value, draft));
    // " here" starts after the emoji: UTF-16 units 10 to 15, code points 9 to 14.
    ASSERT_TRUE(accessibility->setAttribute(*view, AXAttribute::selectedTextRange, TextRange{10, 5}));
    EXPECT_EQ(accessibility->string(*view, AXAttribute::selectedText), QStringLiteral(" here"));
    EXPECT_EQ(accessibility->range(*view, AXAttribute::selectedTextRange), (TextRange{10, 5}));

    // GTK takes the inserted text's length in bytes: in characters, the accents and the emoji would be cut.
    const QImage before = grabScreen();
    ASSERT_TRUE(accessibility->setAttribute(*view, AXAttribute::selectedText, QStringLiteral(" there 👍 é")));
    EXPECT_TRUE(app->waitForText(QStringLiteral("reply"), QStringLiteral("Draft é 🎉 there 👍 é")));
    EXPECT_EQ(accessibility->range(*view, AXAttribute::selectedTextRange), (TextRange{21, 0}));
    EXPECT_FALSE(screenshotOnceChanged(QStringLiteral("atspi-gtk-replaced"), before).isEmpty());
}

} // namespace
} // namespace lumeno::desktop
