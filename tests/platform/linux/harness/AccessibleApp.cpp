#include "platform/linux/harness/AccessibleApp.h"

#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/X11WindowInfo.h"
#include "platform/linux/XcbConnection.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <sys/prctl.h>

namespace lumeno::desktop {

AccessibleApp::AccessibleApp(const QString& program, const QStringList& arguments, const QProcessEnvironment& extra) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(extra);
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { readReports(); });
    process_.start(program, arguments);
    process_.waitForStarted();
}

AccessibleApp::~AccessibleApp() {
    if (process_.state() == QProcess::NotRunning)
        return;
    thaw();
    process_.terminate();
    if (!process_.waitForFinished(3000))
        process_.kill();
    process_.waitForFinished(3000);
}

bool AccessibleApp::waitUntilReady() {
    // A toolkit can hear of its activation before the server moves the keyboard focus to it: keys typed
    // in between go to the window manager's own window and are lost.
    const std::shared_ptr<XcbConnection> x = XcbConnection::open();
    return DesktopTest::waitUntil([&] { return ready_ && x && hasKeyboardFocus(*x); }, 20000);
}

bool AccessibleApp::hasKeyboardFocus(XcbConnection& x) const {
    const auto focus = x.reply(xcb_get_input_focus_reply, xcb_get_input_focus(x.get()));
    return focus && X11WindowInfo::processId(x, focus->focus) == pid();
}

bool AccessibleApp::waitForText(const QString& field, const QString& text) {
    return DesktopTest::waitUntil([&] { return texts_.value(field) == text; });
}

void AccessibleApp::freeze() {
    if (isRunning())
        ::kill(pid_t(pid()), SIGSTOP);
}

void AccessibleApp::thaw() {
    if (isRunning())
        ::kill(pid_t(pid()), SIGCONT);
}

void AccessibleApp::readReports() {
    pending_.append(process_.readAllStandardOutput());
    for (qsizetype end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n')) {
        const QJsonObject report = QJsonDocument::fromJson(pending_.left(end)).object();
        pending_.remove(0, end + 1);
        const QString event = report.value(QLatin1String("event")).toString();
        if (event == QLatin1String("ready"))
            ready_ = true;
        else if (event == QLatin1String("text"))
            texts_.insert(report.value(QLatin1String("field")).toString(), report.value(QLatin1String("text")).toString());
    }
}

} // namespace lumeno::desktop
