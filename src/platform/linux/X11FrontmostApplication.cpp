#include "platform/linux/X11FrontmostApplication.h"

#include "platform/linux/X11WindowInfo.h"
#include "platform/linux/XcbConnection.h"

#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace lumeno {

namespace {

QString executableName(qint64 pid) {
    return QFileInfo(QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget()).fileName();
}

// A name with no entry to tell it, as a name reads: "Gedit" for the class "gedit".
QString capitalised(const QString& name) {
    return name.isEmpty() ? name : name.front().toUpper() + name.mid(1);
}

} // namespace

X11FrontmostApplication::X11FrontmostApplication(std::shared_ptr<XcbConnection> connection)
    : x_(std::move(connection)),
      // Read off the event loop: until they are read, applications go by their window class.
      entries_(QtConcurrent::run(&DesktopEntries::installed)) {}

std::optional<RunningApplication> X11FrontmostApplication::read() const {
    const std::optional<xcb_window_t> window = windowManagerRuns() ? activeWindow() : focusWindow();
    if (!window)
        return std::nullopt;
    return applicationOf(*window);
}

std::vector<RunningApplication> X11FrontmostApplication::openApplications() const {
    std::vector<RunningApplication> applications;
    const auto list = x_->reply(xcb_get_property_reply,
                                xcb_get_property(x_->get(), 0, x_->root(), x_->atom("_NET_CLIENT_LIST"),
                                                 XCB_ATOM_WINDOW, 0, 4096));
    if (!list)
        return applications;
    const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(list.get()));
    const xcb_atom_t dock = x_->atom("_NET_WM_WINDOW_TYPE_DOCK"), desktop = x_->atom("_NET_WM_WINDOW_TYPE_DESKTOP");
    for (int index = 0; index < xcb_get_property_value_length(list.get()) / 4; ++index) {
        // Panels, trays and the desktop itself are part of the desktop, not applications.
        const auto type = x_->reply(xcb_get_property_reply,
                                    xcb_get_property(x_->get(), 0, windows[index], x_->atom("_NET_WM_WINDOW_TYPE"),
                                                     XCB_ATOM_ATOM, 0, 1));
        const bool part = type && xcb_get_property_value_length(type.get()) >= 4 &&
                          (*static_cast<const xcb_atom_t*>(xcb_get_property_value(type.get())) == dock ||
                           *static_cast<const xcb_atom_t*>(xcb_get_property_value(type.get())) == desktop);
        if (part)
            continue;
        RunningApplication application = applicationOf(windows[index]);
        if (std::none_of(applications.begin(), applications.end(),
                         [&](const RunningApplication& known) { return known.pid == application.pid; }))
            applications.push_back(std::move(application));
    }
    return applications;
}

RunningApplication X11FrontmostApplication::applicationOf(xcb_window_t window) const {
    RunningApplication application;
    application.windowTitle = X11WindowInfo::title(*x_, window);
    application.pid = X11WindowInfo::processId(*x_, window).value_or(0);
    const QString executable = application.pid > 0 ? executableName(application.pid) : QString();
    const std::optional<X11WindowInfo::WindowClass> windowClass = X11WindowInfo::windowClass(*x_, window);
    const QString className = windowClass ? (windowClass->name.isEmpty() ? windowClass->instance : windowClass->name)
                                          : QString();
    const QString id = className.isEmpty() ? executable : className;
    application.applicationId = id.toLower();
    const std::optional<QString> known =
        windowClass && entries_.isFinished() ? entries_.result().nameOf(windowClass->instance, windowClass->name)
                                             : std::nullopt;
    application.name = known.value_or(capitalised(id));
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
