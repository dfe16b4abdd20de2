#include "platform/linux/AtspiDesktopTest.h"

#include "platform/linux/harness/AccessibleTargets.h"
#include "platform/AXNames.h"

namespace lumeno::desktop {
namespace {

// A desktop text editor with a message from Bo open, read through the port as the program reads it.
// The suite's field is the editor's focused text area; a suite whose focus never reaches one fails.
template <class Suite>
class EditorTest : public AtspiApplicationTest<Suite> {
protected:
    using Base = AtspiApplicationTest<Suite>;

    static void startEditor(const QString& program) {
        if (!Base::canRun())
            return;
        Base::profile = std::make_unique<QTemporaryDir>();
        Base::app = AccessibleTargets::editor(program, Base::profile->path());
        if (!Base::app)
            return;
        Base::accessibility = Base::connect();
        constexpr int startMs = 45000;
        const std::optional<AccessibleElement> focused =
            Base::waitForFocus(*Base::accessibility, Base::app->pid(), AXRole::textArea, startMs);
        const QString role = focused ? Base::accessibility->string(*focused, AXAttribute::role).value_or(QString())
                                     : QStringLiteral("nothing");
        if (role != AXRole::textArea) {
            Base::setupNote = QStringLiteral(": the focus is on ") + role;
            return;
        }
        Base::field = focused;
        // The file loads after the window shows.
        if (!Base::waitUntil([] { return value().contains(QStringLiteral("move the review")); }, startMs))
            Base::setupNote = QStringLiteral(": the message never loaded");
    }

    static QString value() { return Base::accessibility->string(*Base::field, AXAttribute::value).value_or(QString()); }
};

// gedit keeps much of its interface in the tree while out of sight (the highlight-language list, the file
// browser panel), which GTK marks visible but not showing; its status bar names the file it loads.
class AtspiGeditTest : public EditorTest<AtspiGeditTest> {
public:
    static const char* applicationName() { return "gedit"; }

protected:
    static void SetUpTestSuite() { startEditor(QStringLiteral("gedit")); }
};

TEST_F(AtspiGeditTest, TheConversationAroundTheViewHoldsNothingTheWindowKeepsOutOfSight) {
    const std::optional<FocusSnapshot> front = activeSnapshot(*accessibility, app->pid());
    ASSERT_TRUE(front);
    EXPECT_EQ(front->editability, FocusSnapshot::Editability::editable);
    EXPECT_EQ(front->element, field);

    const std::optional<ScreenReader::Conversation> read = conversation(*accessibility, *field);
    ASSERT_TRUE(read);
    for (const QString& hidden : {QStringLiteral("Plain Text"), QStringLiteral("ABNF"), QStringLiteral("Bookmarks"),
                                  QStringLiteral("File System"), QStringLiteral("Tab Group"), QStringLiteral("Loading file"),
                                  profile->path()})
        EXPECT_FALSE(read->text.contains(hidden)) << hidden.toStdString() << " was read:\n" << read->text.toStdString();
    EXPECT_FALSE(read->text.contains(QStringLiteral("move the review"))) << "the user's own text is no conversation";
    // All of the window is about 500 elements; what shows around the view is a few dozen.
    EXPECT_LT(read->nodes, 100) << read->text.toStdString();
    saveScreen(QStringLiteral("atspi-gedit-field"));
}

} // namespace
} // namespace lumeno::desktop
