#include "platform/linux/AtspiDesktopTest.h"

#include "platform/linux/harness/DesktopUser.h"
#include "platform/AXNames.h"
#include "platform/linux/X11FrontmostApplication.h"
#include "platform/linux/X11SyntheticKeys.h"
#include "platform/linux/XcbConnection.h"
#include "testsupport/Screenshots.h"

#include <QCoreApplication>

namespace lumeno::desktop {

namespace {

std::optional<qint64> frontPid(const std::shared_ptr<X11FrontmostApplication>& frontmost) {
    const std::optional<RunningApplication> front = frontmost->read();
    return front ? std::optional(front->pid) : std::nullopt;
}

} // namespace

DesktopInserter::DesktopInserter(Accessibility& accessibility)
    : frontmost(std::make_shared<X11FrontmostApplication>(XcbConnection::open())),
      pasteboard(
          scheduler, [front = frontmost] { return frontPid(front); }, XcbConnection::open()),
      keys(XcbConnection::open(), std::make_shared<X11SyntheticKeys>(), scheduler),
      inspector(workspace, accessibility),
      inserter(inspector, accessibility, pasteboard, keys, scheduler) {
    workspace.frontmost = [front = frontmost] { return front->read(); };
}

bool AtspiDesktopTest::canRun() {
    return TestDesktop::instance().isRunning() && AccessibilityBus::instance().isRunning();
}

void AtspiDesktopTest::SetUp() {
    DesktopTest::SetUp();
    if (IsSkipped())
        return;
    if (!AccessibilityBus::instance().isRunning())
        GTEST_SKIP() << "No accessibility bus: " << AccessibilityBus::instance().whyNotRunning().toStdString();
}

std::unique_ptr<AtspiAccessibility> AtspiDesktopTest::connect() {
    return std::make_unique<AtspiAccessibility>(QCoreApplication::applicationPid(),
                                                AccessibilityBus::instance().accessibilityAddress());
}

std::optional<AccessibleElement> AtspiDesktopTest::waitForFocus(Accessibility& accessibility, qint64 pid,
                                                                const QString& role, int timeoutMs) {
    std::optional<AccessibleElement> focused;
    waitUntil([&] {
        focused = accessibility.focusedElement(pid);
        return focused && accessibility.string(*focused, AXAttribute::role) == role;
    }, timeoutMs);
    return focused;
}

std::optional<FocusSnapshot> AtspiDesktopTest::snapshot(Accessibility& accessibility) {
    LinuxWorkspace workspace;
    const auto frontmost = std::make_shared<X11FrontmostApplication>(XcbConnection::open());
    workspace.frontmost = [frontmost] { return frontmost->read(); };
    FocusInspector inspector(workspace, accessibility);
    return finish(inspector.snapshot());
}

std::optional<FocusSnapshot> AtspiDesktopTest::activeSnapshot(Accessibility& accessibility, qint64 pid) {
    std::optional<FocusSnapshot> front;
    if (!waitUntil([&] { return (front = snapshot(accessibility)) && front->pid == pid; }))
        return std::nullopt;
    return front;
}

bool AtspiDesktopTest::selectAllAsTheUser(Accessibility& accessibility, const AccessibleElement& field) {
    constexpr int attempts = 3;
    DesktopUser user;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        user.press(DesktopUser::leftControl);
        user.tap(DesktopUser::letterA);
        user.release(DesktopUser::leftControl);
        if (waitUntil([&] {
                const std::optional<QString> selected = accessibility.string(field, AXAttribute::selectedText);
                return selected && selected == accessibility.string(field, AXAttribute::value);
            }))
            return true;
    }
    return false;
}

void AtspiDesktopTest::saveScreen(const QString& name) {
    screenshots::save(grabScreen(), name);
}

std::optional<ScreenReader::Conversation> AtspiDesktopTest::conversation(Accessibility& accessibility,
                                                                         const AccessibleElement& field) {
    static const SystemClock clock;
    return ScreenReader(accessibility, clock).conversation(field);
}

} // namespace lumeno::desktop
