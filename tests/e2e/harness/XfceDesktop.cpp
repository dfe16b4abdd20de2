#include "e2e/harness/XfceDesktop.h"

#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/X11WindowInfo.h"
#include "platform/linux/XcbConnection.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace lumeno::e2e {

namespace {

constexpr int startMs = 15000;
const QString settingsDaemon = QStringLiteral("/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd");
const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

// One panel along the top of the screen, on a colour the screenshots show (the stock theme's is black, like
// the bare screen): a spacer that pushes the notification area to the right end.
constexpr char panelChannel[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="30"/>
      <property name="background-style" type="uint" value="1"/>
      <property name="background-rgba" type="array">
        <value type="double" value="0.235"/>
        <value type="double" value="0.275"/>
        <value type="double" value="0.314"/>
        <value type="double" value="1"/>
      </property>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
        <value type="int" value="2"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="separator">
      <property name="expand" type="bool" value="true"/>
      <property name="style" type="uint" value="0"/>
    </property>
    <property name="plugin-2" type="string" value="systray"/>
  </property>
</channel>
)";

// xfwm4 as installed, but without its compositor: on Xvfb it leaves the screen black to a screenshot.
constexpr char windowManagerChannel[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfwm4" version="1.0">
  <property name="general" type="empty">
    <property name="use_compositing" type="bool" value="false"/>
  </property>
</channel>
)";

} // namespace

XfceDesktop::XfceDesktop() = default;

XfceDesktop::~XfceDesktop() {
    stop();
}

bool XfceDesktop::isChosen() {
    return qEnvironmentVariable("LUMENO_TEST_DESKTOP") == QStringLiteral("xfce");
}

bool XfceDesktop::fail(const QString& why) {
    whyNot_ = why;
    return false;
}

bool XfceDesktop::writeConfiguration() {
    const QString channels = configuration_.filePath(QStringLiteral("config/xfce4/xfconf/xfce-perchannel-xml"));
    if (!QDir().mkpath(channels) || !QDir().mkpath(configuration_.filePath(QStringLiteral("system"))))
        return false;
    for (const auto& [name, contents] : {std::pair{"xfce4-panel", panelChannel}, std::pair{"xfwm4", windowManagerChannel}}) {
        QFile file(channels + u'/' + QLatin1String(name) + QStringLiteral(".xml"));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) < 0)
            return false;
    }
    // The system's folder is an empty one of ours: no key bindings of a stock XFCE take combinations the
    // tests press, and no default panel is added next to ours.
    const QStringList environment{QStringLiteral("XDG_CONFIG_HOME=") + configuration_.filePath(QStringLiteral("config")),
                                  QStringLiteral("XDG_CONFIG_DIRS=") + configuration_.filePath(QStringLiteral("system"))};
    for (desktop::ChildProcess* process : {&settingsDaemon_, &windowManager_, &panel_})
        process->setEnvironment(environment);
    return true;
}

bool XfceDesktop::ownerOf(const char* selection) {
    const auto owner = x_->reply(xcb_get_selection_owner_reply, xcb_get_selection_owner(x_->get(), x_->atom(selection)));
    return owner && owner->owner != XCB_NONE;
}

bool XfceDesktop::hasTrayManager() {
    return x_ && ownerOf("_NET_SYSTEM_TRAY_S0");
}

// The panel's window, viewable: a child of the root window, or of the frame xfwm4 put it in.
bool XfceDesktop::isPanelShown() {
    std::vector<std::pair<xcb_window_t, int>> pending{{x_->root(), 0}};
    while (!pending.empty()) {
        const auto [window, depth] = pending.back();
        pending.pop_back();
        const auto attributes = x_->reply(xcb_get_window_attributes_reply, xcb_get_window_attributes(x_->get(), window));
        if (depth > 0 && (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE))
            continue;
        if (depth > 0 && X11WindowInfo::processId(*x_, window) == panel_.pid())
            return true;
        const auto tree = x_->reply(xcb_query_tree_reply, xcb_query_tree(x_->get(), window));
        if (!tree || depth == 2)
            continue;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i)
            pending.emplace_back(children[i], depth + 1);
    }
    return false;
}

bool XfceDesktop::hasNotifierHost() {
    QDBusMessage get = QDBusMessage::createMethodCall(watcherService, QStringLiteral("/StatusNotifierWatcher"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("Get"));
    get << watcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
        && reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

bool XfceDesktop::startWindowManager() {
    for (const QString& program : {QStringLiteral("xfwm4"), QStringLiteral("xfce4-panel")})
        if (QStandardPaths::findExecutable(program).isEmpty())
            return fail(program + QStringLiteral(" is not installed (scripts/install-deps.sh installs it)"));
    if (!QFileInfo(settingsDaemon).isExecutable())
        return fail(QStringLiteral("xfconf is not installed (scripts/install-deps.sh installs it)"));
    x_ = XcbConnection::open();
    if (!x_ || !configuration_.isValid() || !writeConfiguration())
        return fail(QStringLiteral("no X server or no folder for the XFCE configuration"));
    auto settingsOnBus = [] {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("org.xfce.Xfconf")).value();
    };
    if (!settingsDaemon_.start(settingsDaemon, {}) || !desktop::DesktopTest::waitUntil(settingsOnBus, startMs))
        return fail(QStringLiteral("xfconfd did not come on the session bus"));
    // xfwm4 takes the screen's window-manager selection once it manages it.
    if (!windowManager_.start(QStringLiteral("xfwm4"), {QStringLiteral("--sm-client-disable")})
        || !desktop::DesktopTest::waitUntil([this] { return ownerOf("WM_S0"); }, startMs))
        return fail(QStringLiteral("xfwm4 did not take over the screen"));
    return true;
}

bool XfceDesktop::startPanel() {
    if (!panel_.start(QStringLiteral("xfce4-panel"), {QStringLiteral("--sm-client-disable")})
        || !desktop::DesktopTest::waitUntil([this] { return hasTrayManager() && hasNotifierHost() && isPanelShown(); },
                                            startMs)) {
        panel_.stop();
        return fail(QStringLiteral("xfce4-panel did not show its notification area"));
    }
    return true;
}

void XfceDesktop::stopPanel() {
    if (!panel_.isRunning())
        return;
    panel_.stop();
    desktop::DesktopTest::waitUntil([this] {
        return !hasTrayManager() && !QDBusConnection::sessionBus().interface()->isServiceRegistered(watcherService).value();
    }, startMs);
}

void XfceDesktop::stop() {
    stopPanel();
    windowManager_.stop();
    settingsDaemon_.stop();
}

} // namespace lumeno::e2e
