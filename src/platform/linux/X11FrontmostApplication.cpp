#include "platform/linux/X11FrontmostApplication.h"

#include "platform/linux/X11WindowInfo.h"
#include "platform/linux/XcbConnection.h"

#include <QFileInfo>

namespace lumeno {

namespace {

QString executableName(qint64 pid) {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget()).fileName();
}

} // namespace

X11FrontmostApplication::X11FrontmostApplication(std::shared_ptr<XcbConnection> connection)
    : x_(std::move(connection)) {}

std::optional<RunningApplication> X11FrontmostApplication::read() const {
    const std::optional<xcb_window_t> window = windowManagerRuns() ? activeWindow() : focusWindow();
    if (!window)
        return std::nullopt;

    RunningApplication application;
    application.windowTitle = X11WindowInfo::title(*x_, *window);
    application.pid = X11WindowInfo::processId(*x_, *window).value_or(0);
    const QString executable = application.pid > 0 ? executableName(application.pid) : QString();
    const std::optional<X11WindowInfo::WindowClass> windowClass = X11WindowInfo::windowClass(*x_, *window);
    const QString className = windowClass ? (windowClass->name.isEmpty() ? windowClass->instance : windowClass->name)
                                          : QString();
    application.name = className.isEmpty() ? executable : className;
    application.applicationId = application.name.toLower();
    return application;
}

bool X11FrontmostApplication::windowManagerRuns() const {
    // A window manager proves it runs by a check window that names itself; after it quits, the root keeps
    // naming a window that is gone (or was reused by someone else), and its active window goes stale.
    const std::optional<xcb_window_t> check = X11WindowInfo::windowProperty(*x_, x_->root(), "_NET_SUPPORTING_WM_CHECK");
    return check && X11WindowInfo::windowProperty(*x_, *check, "_NET_SUPPORTING_WM_CHECK") == check;
}

std::optional<xcb_window_t> X11FrontmostApplication::activeWindow() const {
    const std::optional<xcb_window_t> active = X11WindowInfo::windowProperty(*x_, x_->root(), "_NET_ACTIVE_WINDOW");
    return active && X11WindowInfo::exists(*x_, *active) ? active : std::nullopt;
}

std::optional<xcb_window_t> X11FrontmostApplication::focusWindow() const {
    const auto focus = x_->reply(xcb_get_input_focus_reply, xcb_get_input_focus(x_->get()));
    // None and PointerRoot (1) name no window.
    if (!focus || focus->focus <= 1)
        return std::nullopt;
    return X11WindowInfo::topLevel(*x_, focus->focus);
}

} // namespace lumeno
