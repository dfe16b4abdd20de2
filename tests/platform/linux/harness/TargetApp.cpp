#include "platform/linux/harness/TargetApp.h"

#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/harness/WindowFocus.h"
#include "platform/linux/XcbConnection.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <sys/prctl.h>

namespace lumeno::desktop {

TargetApp::TargetApp(const Options& options) {
    QStringList arguments{QStringLiteral("--title"), options.title};
    if (options.copy)
        arguments << QStringLiteral("--copy") << *options.copy;
    if (options.clipboardManager)
        arguments << QStringLiteral("--clipboard-manager");
    if (options.menuOnLoneAlt)
        arguments << QStringLiteral("--menu-on-lone-alt");
    if (options.ignoresSecretMark)
        arguments << QStringLiteral("--ignore-secret-mark");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { readReports(); });
    process_.start(QStringLiteral(LUMENO_DESKTOP_TARGET), arguments);
}

TargetApp::~TargetApp() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(3000))
        process_.kill();
    process_.waitForFinished(3000);
}

bool TargetApp::waitUntilReady() {
    if (!DesktopTest::waitUntil([this] { return ready_; }))
        return false;
    if (window_ == 0)
        return true; // a clipboard manager shows no window
    // The application says so once its window got the focus; on a busy desktop the window manager may hand
    // the focus on a moment later (to where a window that just closed had it), so the X server's word is
    // waited for, and the window activated again as a click would while it does not have it.
    const std::shared_ptr<XcbConnection> x = XcbConnection::open();
    int checks = 0;
    return x && DesktopTest::waitUntil([&] {
        if (hasFocus(*x, window_))
            return true;
        if (++checks % 10 == 0)
            activate(*x, window_);
        return false;
    });
}

bool TargetApp::waitForText(const QString& text) {
    return DesktopTest::waitUntil([&] { return text_ == text; });
}

bool TargetApp::waitForFetch(const QString& text) {
    return DesktopTest::waitUntil([&] { return fetched_.contains(text); });
}

bool TargetApp::waitUntilFetchCount(qsizetype count) {
    return DesktopTest::waitUntil([&] { return fetched_.size() >= count; });
}

bool TargetApp::waitForOffer(const QString& text) {
    return DesktopTest::waitUntil([&] { return offered_.contains(text); });
}

void TargetApp::readReports() {
    pending_.append(process_.readAllStandardOutput());
    for (qsizetype end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n')) {
        const QJsonObject report = QJsonDocument::fromJson(pending_.left(end)).object();
        pending_.remove(0, end + 1);
        const QString event = report.value(QLatin1String("event")).toString();
        if (event == QLatin1String("ready")) {
            ready_ = true;
            window_ = quint32(report.value(QLatin1String("window")).toInteger());
        } else if (event == QLatin1String("text")) {
            text_ = report.value(QLatin1String("text")).toString();
        } else if (event == QLatin1String("key")) {
            keys_.push_back({quint32(report.value(QLatin1String("code")).toInt()),
                             report.value(QLatin1String("down")).toBool()});
        } else if (event == QLatin1String("fetched")) {
            fetched_.append(report.value(QLatin1String("text")).toString());
            if (report.value(QLatin1String("kept")).toBool())
                kept_.append(fetched_.back());
        } else if (event == QLatin1String("offered")) {
            offered_.append(report.value(QLatin1String("text")).toString());
        } else if (event == QLatin1String("menu")) {
            ++menuOpenings_;
        }
    }
}

} // namespace lumeno::desktop
