// Qt 5 applications on the accessibility bus, checked on a real Qt 5 window (run by bench/apps.sh, not by
// the test suite: PyQt 5 is a large install): which element its editable combo box gives, and how often a
// Qt 5 application joins the bus at all. The desktop's editors are checked by `make test-apps`.
#include "platform/linux/AtspiDesktopTest.h"

#include "platform/AXNames.h"

namespace lumeno::desktop {
namespace {

constexpr int startMs = 45000;

// Qt 5's editable combo box: the combo and its line edit both say they have the focus.
class Qt5Window : public AtspiApplicationTest<Qt5Window> {
public:
    static const char* applicationName() { return "qt5-window"; }

protected:
    static void SetUpTestSuite() {
        if (!canRun())
            return;
        app = std::make_unique<AccessibleApp>(QStringLiteral("/usr/bin/python3"),
                                              QStringList{QStringLiteral(LUMENO_QT5_WINDOW)});
        if (!app->waitUntilReady()) {
            app.reset();
            return;
        }
        accessibility = connect();
        field = waitForFocus(*accessibility, app->pid(), AXRole::textField, startMs);
    }
};

TEST_F(Qt5Window, TheFindBarsEditableComboBoxGivesItsLineEdit) {
    EXPECT_EQ(accessibility->string(*field, AXAttribute::value), QStringLiteral("budget"));
    const std::optional<FocusSnapshot> front = snapshot(*accessibility);
    ASSERT_TRUE(front);
    std::printf("[check] qt5-window: combo focus gives role %s, value %s\n",
                qPrintable(front->role.value_or(QStringLiteral("none"))),
                qPrintable(accessibility->string(*field, AXAttribute::value).value_or(QStringLiteral("(none)"))));
    EXPECT_EQ(front->editability, FocusSnapshot::Editability::editable);
}

// How often a Qt 5 application shows itself on the accessibility bus, each launch given a fair while.
TEST(Qt5Joining, LaunchesThatReachTheAccessibilityBus) {
    if (!AtspiDesktopTest::canRun())
        GTEST_SKIP() << "no desktop";
    constexpr int launches = 7;
    const std::unique_ptr<AtspiAccessibility> accessibility = std::make_unique<AtspiAccessibility>(
        QCoreApplication::applicationPid(), AccessibilityBus::instance().accessibilityAddress());
    for (const bool alwaysOn : {false, true}) {
        int joined = 0;
        for (int launch = 0; launch < launches; ++launch) {
            QProcessEnvironment environment;
            if (alwaysOn)
                environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
            AccessibleApp app(QStringLiteral("/usr/bin/python3"), {QStringLiteral(LUMENO_QT5_WINDOW)}, environment);
            app.waitUntilReady();
            if (DesktopTest::waitUntil([&] { return accessibility->toolkitName(app.pid()).has_value(); }, 10000))
                ++joined;
        }
        std::printf("[check] qt5 joined the bus in %d of %d launches%s\n", joined, launches,
                    alwaysOn ? " with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1" : "");
    }
}

} // namespace
} // namespace lumeno::desktop
