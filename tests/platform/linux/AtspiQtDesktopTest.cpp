#include "platform/linux/AtspiDesktopTest.h"

#include "platform/linux/harness/AccessibleTargets.h"
#include "platform/AXNames.h"

#include <QElapsedTimer>

namespace lumeno::desktop {
namespace {

// Our own Qt window on the accessibility bus: a conversation of labels, a multi-line reply field, a
// subject line, a password field and a read-only field (target/ConversationTarget.cpp).
class AtspiQtTest : public AtspiDesktopTest {
protected:
    static void SetUpTestSuite() {
        if (!canRun())
            return;
        app = AccessibleTargets::qt();
        app->waitUntilReady();
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
        ASSERT_TRUE(app && app->isRunning());
        reply = waitForFocus(*accessibility, app->pid(), AXRole::textArea);
        ASSERT_TRUE(reply) << "the reply field never had the focus";
    }

    // The window's field with this role and, for single-line fields, this place among them.
    AccessibleElement field(const QString& role, int index = 0) {
        const std::optional<AccessibleElement> window = accessibility->element(*reply, AXAttribute::window);
        int seen = 0;
        for (const AccessibleElement& child : window ? accessibility->children(*window) : std::vector<AccessibleElement>())
            if (accessibility->string(child, AXAttribute::role) == role && seen++ == index)
                return child;
        ADD_FAILURE() << "no " << role.toStdString() << " #" << index;
        return {};
    }
    // Moves the keyboard focus as the user would by clicking, and waits until the application says so.
    void focus(const AccessibleElement& element, const QString& role) {
        ASSERT_TRUE(accessibility->setAttribute(element, AXAttribute::focused, true));
        ASSERT_TRUE(waitUntil([&] { return accessibility->focusedElement(app->pid()) == element; }));
        ASSERT_EQ(accessibility->string(element, AXAttribute::role), role);
    }

    static inline std::unique_ptr<AccessibleApp> app;
    static inline std::unique_ptr<AtspiAccessibility> accessibility;
    std::optional<AccessibleElement> reply;
};

TEST_F(AtspiQtTest, TheFocusedReplyFieldReadsAsAnEditableTextAreaInItsWindow) {
    EXPECT_EQ(accessibility->toolkitName(app->pid()), QStringLiteral("Qt"));
    const std::optional<FocusSnapshot> front = activeSnapshot(*accessibility, app->pid());
    ASSERT_TRUE(front);
    EXPECT_EQ(front->pid, app->pid());
    EXPECT_EQ(front->element, reply);
    EXPECT_EQ(front->role, QString(AXRole::textArea));
    EXPECT_EQ(front->roleName, QStringLiteral("text")) << "the role as AT-SPI names it";
    EXPECT_EQ(front->subrole, std::nullopt);
    EXPECT_EQ(front->editability, FocusSnapshot::Editability::editable);
    EXPECT_TRUE(front->hasKeyboardFocus);
    EXPECT_EQ(front->windowTitle, QStringLiteral("Thread with Ana"));
    EXPECT_FALSE(front->isChromium);
    EXPECT_EQ(front->webURL, std::nullopt);
    saveScreen(QStringLiteral("atspi-qt-conversation"));
}

TEST_F(AtspiQtTest, TheConversationAboveTheFieldIsReadInOrderWithoutTheDraftOrThePassword) {
    ASSERT_TRUE(accessibility->setAttribute(*reply, AXAttribute::value, QStringLiteral("my unsent draft")));
    ASSERT_TRUE(app->waitForText(QStringLiteral("reply"), QStringLiteral("my unsent draft")));

    const std::optional<ScreenReader::Conversation> read = conversation(*accessibility, *reply);
    ASSERT_TRUE(read);
    const QString above = read->text.left(read->fieldOffset);
    EXPECT_EQ(above.trimmed(), QStringLiteral("Ana: Can we move the review to Friday?\nMe: Let me check my calendar.\n"
                                              "Ana: Also, bring the budget numbers 🎉."));
    const QString below = read->text.mid(read->fieldOffset);
    EXPECT_TRUE(below.contains(QStringLiteral("Re: review"))) << below.toStdString();
    EXPECT_TRUE(below.contains(QStringLiteral("Sent from the team account"))) << below.toStdString();
    EXPECT_FALSE(read->text.contains(QStringLiteral("my unsent draft")));
    EXPECT_FALSE(read->text.contains(QStringLiteral("hunter2")));
    EXPECT_EQ(read->levels, 1);
}

TEST_F(AtspiQtTest, InsertionAndReplacementLandWhereMeantPastAnEmoji) {
    ASSERT_TRUE(accessibility->setAttribute(*reply, AXAttribute::value, QString()));
    const QImage before = grabScreen();
    ASSERT_TRUE(accessibility->setAttribute(*reply, AXAttribute::selectedText, QStringLiteral("Hi 🎉 there")));
    EXPECT_TRUE(app->waitForText(QStringLiteral("reply"), QStringLiteral("Hi 🎉 there")));
    EXPECT_EQ(accessibility->range(*reply, AXAttribute::selectedTextRange), (TextRange{11, 0}));

    // Qt counts UTF-16 units: the emoji is two of them.
    ASSERT_TRUE(accessibility->setAttribute(*reply, AXAttribute::selectedTextRange, TextRange{6, 5}));
    EXPECT_EQ(accessibility->string(*reply, AXAttribute::selectedText), QStringLiteral("there"));
    ASSERT_TRUE(accessibility->setAttribute(*reply, AXAttribute::selectedText, QStringLiteral("Ana 👍")));
    EXPECT_TRUE(app->waitForText(QStringLiteral("reply"), QStringLiteral("Hi 🎉 Ana 👍")));
    EXPECT_EQ(accessibility->string(*reply, AXAttribute::value), QStringLiteral("Hi 🎉 Ana 👍"));
    EXPECT_FALSE(screenshotOnceChanged(QStringLiteral("atspi-qt-replaced"), before).isEmpty());
}

TEST_F(AtspiQtTest, ThePasswordFieldIsRecognisedAndNeitherReadNorWritten) {
    const AccessibleElement password = field(AXRole::textField, 1);
    focus(password, AXRole::textField);
    const std::optional<FocusSnapshot> front = activeSnapshot(*accessibility, app->pid());
    ASSERT_TRUE(front);
    EXPECT_TRUE(FocusInspector::isPasswordField(*front));
    EXPECT_EQ(front->selectedText, std::nullopt);
    EXPECT_EQ(accessibility->attribute(password, AXAttribute::value), std::nullopt);
    EXPECT_EQ(accessibility->attribute(password, AXAttribute::selectedTextRange), std::nullopt);
    EXPECT_FALSE(accessibility->setAttribute(password, AXAttribute::value, QStringLiteral("leaked")));
    EXPECT_FALSE(accessibility->setAttribute(password, AXAttribute::selectedText, QStringLiteral("leaked")));
    EXPECT_EQ(app->text(QStringLiteral("password")), QString()) << "the password field changed";
    focus(*reply, AXRole::textArea);
}

TEST_F(AtspiQtTest, AReadOnlyFieldIsReadButNotWritten) {
    const AccessibleElement readOnly = field(AXRole::textField, 2);
    focus(readOnly, AXRole::textField);
    const std::optional<FocusSnapshot> front = activeSnapshot(*accessibility, app->pid());
    ASSERT_TRUE(front);
    EXPECT_EQ(front->editability, FocusSnapshot::Editability::readOnly);
    EXPECT_EQ(accessibility->string(readOnly, AXAttribute::value), QStringLiteral("Sent from the team account"));
    EXPECT_FALSE(accessibility->setAttribute(readOnly, AXAttribute::selectedText, QStringLiteral("x")));
    EXPECT_EQ(app->text(QStringLiteral("readOnly")), QString()) << "the read-only field changed";
    focus(*reply, AXRole::textArea);
}

TEST_F(AtspiQtTest, AHungApplicationCostsOneMessagingTimeoutAndIsAskedAgainLater) {
    accessibility->setMessagingTimeout(0.3);
    app->freeze();
    QElapsedTimer elapsed;
    elapsed.start();
    const std::optional<FocusSnapshot> front = snapshot(*accessibility);
    const qint64 snapshotMs = elapsed.elapsed();
    const std::optional<ScreenReader::Conversation> read = conversation(*accessibility, *reply);
    const qint64 totalMs = elapsed.elapsed();
    app->thaw();

    ASSERT_TRUE(front);
    EXPECT_EQ(front->element, std::nullopt);
    EXPECT_EQ(read, std::nullopt);
    // Every read of the stopped application would otherwise wait out a timeout of its own (or the bus's
    // 25 seconds): the whole snapshot and conversation cost about one.
    EXPECT_LT(snapshotMs, 1500);
    EXPECT_LT(totalMs, 2000);
    accessibility->setMessagingTimeout(0.4);
    EXPECT_TRUE(waitForFocus(*accessibility, app->pid(), AXRole::textArea));
}

} // namespace
} // namespace lumeno::desktop
