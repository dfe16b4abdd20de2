#include "platform/linux/harness/TestDesktop.h"

#include "platform/linux/XcbConnection.h"

#include <QFile>
#include <QStandardPaths>
#include "platform/linux/harness/DesktopTest.h"

#include <poll.h>
#include <unistd.h>

namespace lumeno::desktop {

namespace {

constexpr int serverStartMs = 10000;
constexpr int windowManagerStartMs = 10000;

TestDesktop* current = nullptr;

// Openbox with no key bindings of its own (they would take combinations the tests use) and focus on
// every new window.
constexpr char openboxConfiguration[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <placement><policy>Smart</policy></placement>
  <desktops><number>1</number></desktops>
  <keyboard></keyboard>
  <mouse></mouse>
</openbox_config>
)";

// Reads what Xvfb writes to -displayfd once it accepts clients: the display number and a line break.
std::optional<QByteArray> readDisplayNumber(int descriptor, int timeoutMs) {
    QByteArray number;
    pollfd readable{descriptor, POLLIN, 0};
    while (poll(&readable, 1, timeoutMs) > 0) {
        char chunk[16];
        const ssize_t length = read(descriptor, chunk, sizeof chunk);
        if (length <= 0)
            return std::nullopt;
        number.append(chunk, length);
        if (number.endsWith('\n'))
            return number.trimmed();
    }
    return std::nullopt;
}

} // namespace

TestDesktop::TestDesktop() {
    current = this;
}

TestDesktop::~TestDesktop() {
    stop();
    current = nullptr;
}

TestDesktop& TestDesktop::instance() {
    return *current;
}

QString TestDesktop::screenSize() {
    const QString asked = qEnvironmentVariable("LUMENO_TEST_SCREEN");
    return asked.isEmpty() ? QStringLiteral("1280x800") : asked;
}

std::optional<QByteArray> TestDesktop::launchServer(ChildProcess& process) {
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        whyNot_ = QStringLiteral("Xvfb is not installed (scripts/install-deps.sh installs it)");
        return std::nullopt;
    }
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return std::nullopt;
    const bool started = process.start(
        QStringLiteral("Xvfb"),
        {QStringLiteral("-displayfd"), QString::number(pipeEnds[1]), QStringLiteral("-screen"), QStringLiteral("0"),
         screenSize() + QStringLiteral("x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
         QStringLiteral("-noreset")},
        pipeEnds[1]);
    close(pipeEnds[1]);
    const std::optional<QByteArray> number = started ? readDisplayNumber(pipeEnds[0], serverStartMs) : std::nullopt;
    close(pipeEnds[0]);
    if (!number) {
        process.stop();
        whyNot_ = QStringLiteral("Xvfb did not start");
        return std::nullopt;
    }
    return ':' + *number;
}

bool TestDesktop::startServer() {
    const std::optional<QByteArray> display = launchServer(server_);
    if (!display)
        return false;
    display_ = *display;
    qputenv("DISPLAY", display_);
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("XDG_SESSION_TYPE", "x11");
    return true;
}

bool TestDesktop::startWindowManager() {
    if (qEnvironmentVariable("LUMENO_TEST_WM") == QStringLiteral("xfwm4"))
        return startXfwm4();
    if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty()) {
        whyNot_ = QStringLiteral("openbox is not installed (scripts/install-deps.sh installs it)");
        return false;
    }
    const QString configFile = configuration_.filePath(QStringLiteral("rc.xml"));
    QFile file(configFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(openboxConfiguration) < 0)
        return false;
    file.close();
    // Openbox runs its start-up command once it has taken every window and entered its event loop; a window
    // mapped before that may never be managed, and the root window's check property comes much earlier.
    const QString readyFile = configuration_.filePath(QStringLiteral("ready"));
    if (!windowManager_.start(QStringLiteral("openbox"),
                              {QStringLiteral("--sm-disable"), QStringLiteral("--config-file"), configFile,
                               QStringLiteral("--startup"), QStringLiteral("touch '%1'").arg(readyFile)})) {
        whyNot_ = QStringLiteral("openbox did not start");
        return false;
    }
    const bool managing = DesktopTest::waitUntil([&] { return QFile::exists(readyFile); }, windowManagerStartMs);
    if (!managing) {
        windowManager_.stop();
        whyNot_ = QStringLiteral("openbox did not take over the screen");
    }
    return managing;
}

// XFCE's window manager as that desktop starts it, its compositor included. It owns the screen's window
// manager selection once it manages the windows.
bool TestDesktop::startXfwm4() {
    if (QStandardPaths::findExecutable(QStringLiteral("xfwm4")).isEmpty()) {
        whyNot_ = QStringLiteral("xfwm4 is not installed (scripts/install-deps.sh installs it)");
        return false;
    }
    const std::shared_ptr<XcbConnection> x = XcbConnection::open(display_);
    if (!x || !windowManager_.start(QStringLiteral("xfwm4"), {QStringLiteral("--sm-client-disable")})) {
        whyNot_ = QStringLiteral("xfwm4 did not start");
        return false;
    }
    const QByteArray selection = "WM_S" + QByteArray::number(x->screen());
    const bool managing = DesktopTest::waitUntil([&] {
        const auto owner = x->reply(xcb_get_selection_owner_reply, xcb_get_selection_owner(x->get(), x->atom(selection)));
        return owner && owner->owner != XCB_NONE;
    }, windowManagerStartMs);
    if (!managing) {
        windowManager_.stop();
        whyNot_ = QStringLiteral("xfwm4 did not take over the screen");
    }
    return managing;
}

std::optional<TestDesktop::BareServer> TestDesktop::startBareServer() {
    auto process = std::make_unique<ChildProcess>();
    const std::optional<QByteArray> display = launchServer(*process);
    if (!display)
        return std::nullopt;
    return BareServer{std::move(process), *display};
}

bool TestDesktop::hasCompositingManager(XcbConnection& x) {
    const QByteArray selection = "_NET_WM_CM_S" + QByteArray::number(x.screen());
    const auto owner = x.reply(xcb_get_selection_owner_reply, xcb_get_selection_owner(x.get(), x.atom(selection)));
    return owner && owner->owner != XCB_NONE;
}

bool TestDesktop::startCompositor() {
    if (QStandardPaths::findExecutable(QStringLiteral("xcompmgr")).isEmpty()) {
        whyNot_ = QStringLiteral("xcompmgr is not installed (scripts/install-deps.sh installs it)");
        return false;
    }
    const std::shared_ptr<XcbConnection> x = XcbConnection::open(display_);
    if (!x || !compositor_.start(QStringLiteral("xcompmgr"), {QStringLiteral("-d"), QString::fromLocal8Bit(display_)}))
        return false;
    if (!DesktopTest::waitUntil([&] { return hasCompositingManager(*x); }, windowManagerStartMs)) {
        compositor_.stop();
        whyNot_ = QStringLiteral("xcompmgr did not take over the screen");
        return false;
    }
    return true;
}

void TestDesktop::stopCompositor() {
    compositor_.stop();
    if (const std::shared_ptr<XcbConnection> x = XcbConnection::open(display_))
        DesktopTest::waitUntil([&] { return !hasCompositingManager(*x); });
}

void TestDesktop::stop() {
    compositor_.stop();
    windowManager_.stop();
    server_.stop();
}

} // namespace lumeno::desktop
