#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/harness/DesktopUser.h"
#include "platform/linux/harness/TargetApp.h"

#include "platform/VirtualKeyCodes.h"
#include "platform/linux/X11FrontmostApplication.h"
#include "platform/linux/X11ModifierState.h"
#include "platform/linux/XcbConnection.h"

#include <QCoreApplication>

namespace lumeno::desktop {
namespace {

using namespace VirtualKey;

class X11WorkspaceTest : public DesktopTest {};

TEST_F(X11WorkspaceTest, TheFrontmostApplicationIsTheActiveWindowsProcessWithItsClassAndTitle) {
    const QString title = QStringLiteral("Antwort an Zoë – Entwurf");
    TargetApp target(TargetApp::Options{.title = title});
    ASSERT_TRUE(target.waitUntilReady());
    const X11FrontmostApplication frontmost(XcbConnection::open());
    ASSERT_TRUE(waitUntil([&] { return frontmost.read() && frontmost.read()->pid == target.pid(); }));
    const RunningApplication application = *frontmost.read();
    EXPECT_EQ(application.applicationId, QStringLiteral("lumeno-desktop-target"));
    // WM_CLASS's class, as Qt sets it; with no desktop entry to name it, capitalised as a name.
    EXPECT_EQ(application.name, QStringLiteral("Lumeno-desktop-target"));
    EXPECT_EQ(application.windowTitle, title) << "_NET_WM_NAME, in UTF-8";
}

TEST_F(X11WorkspaceTest, HeldModifierKeysAreReadWithTheirSide) {
    const X11ModifierState modifiers(XcbConnection::open());
    DesktopUser user;
    user.press(DesktopUser::rightAlt);
    user.press(DesktopUser::leftControl);
    EXPECT_EQ(modifiers.flags(), optionFlag | rightOptionBit | controlFlag | leftControlBit);
    user.release(DesktopUser::leftControl);
    user.release(DesktopUser::rightAlt);
    EXPECT_EQ(modifiers.flags(), 0u);
}

// Without a window manager, the root may still name the active window and the manager's check window of
// one that ran before: both are stale, and the input focus tells which window is in front.
TEST_F(X11WorkspaceTest, WithoutAWindowManagerTheInputFocusDecides) {
    std::optional<TestDesktop::BareServer> bare = desktop().startBareServer();
    ASSERT_TRUE(bare) << desktop().whyNotRunning().toStdString();
    const std::shared_ptr<XcbConnection> x = XcbConnection::open(bare->display);
    ASSERT_TRUE(x);
    xcb_connection_t* c = x->get();

    const auto createWindow = [&] {
        const xcb_window_t window = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, x->root(), 0, 0, 200, 100, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        return window;
    };
    const auto setWindowProperty = [&](xcb_window_t on, const char* name, xcb_window_t value) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, on, x->atom(name), XCB_ATOM_WINDOW, 32, 1, &value);
    };
    // A window manager that quit: its check window is gone, its last active window too.
    const xcb_window_t goneCheck = createWindow(), goneActive = createWindow();
    setWindowProperty(x->root(), "_NET_SUPPORTING_WM_CHECK", goneCheck);
    setWindowProperty(x->root(), "_NET_ACTIVE_WINDOW", goneActive);
    xcb_destroy_window(c, goneCheck);
    xcb_destroy_window(c, goneActive);

    const xcb_window_t focused = createWindow();
    const QByteArray title = QStringLiteral("Ünïcode title").toUtf8();
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, focused, x->atom("_NET_WM_NAME"), x->atom("UTF8_STRING"), 8,
                        uint32_t(title.size()), title.constData());
    const char windowClass[] = "mail\0Thunderbird";
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, focused, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        sizeof windowClass, windowClass);
    xcb_map_window(c, focused);
    x->reply(xcb_get_input_focus_reply, xcb_get_input_focus(c)); // mapped before it can take the focus
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, focused, XCB_CURRENT_TIME);

    const X11FrontmostApplication frontmost(x);
    const std::optional<RunningApplication> application = frontmost.read();
    ASSERT_TRUE(application);
    EXPECT_EQ(application->pid, QCoreApplication::applicationPid()) << "the window's client, from the X server";
    EXPECT_EQ(application->applicationId, QStringLiteral("thunderbird"));
    EXPECT_EQ(application->windowTitle, QStringLiteral("Ünïcode title"));

    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_CURRENT_TIME);
    EXPECT_EQ(frontmost.read(), std::nullopt) << "focus on no window: nothing in front";
}

} // namespace
} // namespace lumeno::desktop
