// The built program on the end-to-end desktop (tests/e2e/harness), timed as the user feels it over a run
// of dictations into the GTK mail window: key down to the overlay on screen and listening, key up to the
// request at the server, the server's answer to the text in the field, start to ready for the hot key, and
// the resident memory idle and after 20 dictations. Prints the figures; asserts nothing.
#include "TestServer.h"
#include "e2e/harness/E2eTargets.h"
#include "e2e/harness/LumenoHome.h"
#include "e2e/harness/LumenoProcess.h"
#include "e2e/harness/Popups.h"
#include "e2e/harness/Speech.h"
#include "e2e/harness/UserSession.h"
#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/harness/DesktopUser.h"
#include "platform/linux/XcbConnection.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace lumeno;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int dictations = 20;
constexpr int timedDictations = 10;
constexpr int patienceMs = 20000;

bool waitUntil(const std::function<bool()>& condition) {
    return desktop::DesktopTest::waitUntil(condition, patienceMs);
}

double milliseconds(Clock::duration span) {
    return std::chrono::duration<double, std::milli>(span).count();
}

void print(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::printf("%-44s min %7.1f  median %7.1f  max %7.1f ms  (%zu)\n", what, values.front(),
                values[values.size() / 2], values.back(), values.size());
}

struct Figures {
    std::vector<double> overlay, listening, request, insert, ready;
};

// One dictation with reply `answer`; false, saying why, when a step never came.
bool dictate(e2e::LumenoProcess& lumeno, lumeno::testing::TestServer& server, desktop::AccessibleApp& mail,
             XcbConnection& x, const QString& answer, Figures* figures) {
    desktop::DesktopUser user;
    server.setDraftAnswer(200, QJsonDocument(QJsonObject{{"text", answer}, {"provider", "anthropic"}, {"model", "m"}})
                                   .toJson(QJsonDocument::Compact));
    const std::size_t requestsBefore = server.drafts().size();
    const qsizetype linesBefore = qsizetype(lumeno.lines().size());
    const Clock::time_point down = Clock::now();
    user.press(desktop::DesktopUser::rightAlt);
    Clock::time_point shown;
    if (!waitUntil([&] { return !e2e::popupsOf(x, lumeno.pid()).empty() && (shown = Clock::now(), true); }))
        return std::fprintf(stderr, "no overlay\n"), false;
    const auto listening = lumeno.waitForLineContaining(QStringLiteral("Listening (hold"), patienceMs, linesBefore);
    const auto played =
        lumeno.waitForLineContaining(QStringLiteral("The audio file has played to its end"), patienceMs, linesBefore);
    const Clock::time_point up = Clock::now();
    user.release(desktop::DesktopUser::rightAlt);
    if (!listening || !played)
        return std::fprintf(stderr, "never listened\n%s\n", qPrintable(lumeno.log())), false;
    if (!waitUntil([&] { return server.drafts().size() > requestsBefore && server.drafts().back().answered; }))
        return std::fprintf(stderr, "no request\n%s\n", qPrintable(lumeno.log())), false;
    Clock::time_point inserted;
    if (!waitUntil([&] { return mail.text(QStringLiteral("reply")).contains(answer) && (inserted = Clock::now(), true); }))
        return std::fprintf(stderr, "nothing inserted\n%s\n", qPrintable(lumeno.log())), false;
    const lumeno::testing::TestServer::Seen request = server.drafts().back();
    if (figures) {
        figures->overlay.push_back(milliseconds(shown - down));
        figures->listening.push_back(milliseconds(listening->arrived - down));
        figures->request.push_back(milliseconds(request.arrived - up));
        figures->insert.push_back(milliseconds(inserted - *request.answered));
    }
    // The overlay goes before the next press, as it would for a user who reads the draft first.
    return waitUntil([&] { return e2e::popupsOf(x, lumeno.pid()).empty(); });
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    e2e::UserSession session;
    if (!session.startServer())
        return std::fprintf(stderr, "%s\n", qPrintable(session.whyNotRunning())), 1;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    if (!session.startDesktop())
        return std::fprintf(stderr, "%s\n", qPrintable(session.whyNotRunning())), 1;
    const QString speech = runtime.filePath(QStringLiteral("speech.wav"));
    if (!e2e::speakInto(QStringLiteral("Tell Bo Thursday at noon works"), speech))
        return std::fprintf(stderr, "espeak-ng could not speak\n"), 1;

    lumeno::testing::TestServer server;
    e2e::LumenoHome home;
    home.signIn(server, QStringLiteral("ada@example.com"), QStringLiteral("Ada Lovelace"));
    home.finishGuide();
    Figures figures;
    auto lumeno = std::make_unique<e2e::LumenoProcess>(
        home, e2e::LumenoProcess::Options{server.baseURL(), speech,
                                          {QStringLiteral("PULSE_SERVER=") + session.sound().address()}, {}});
    const auto ready = lumeno->waitForLineContaining(QStringLiteral("Lumeno started;"), patienceMs);
    if (!ready || !lumeno->waitForLineContaining(QStringLiteral("Speech model ready"), patienceMs))
        return std::fprintf(stderr, "Lumeno did not start\n%s\n", qPrintable(lumeno->log())), 1;
    figures.ready.push_back(milliseconds(ready->arrived - lumeno->started()));
    auto mail = e2e::E2eTargets::gtkMail();
    if (!mail->waitUntilReady())
        return std::fprintf(stderr, "the mail window did not open\n"), 1;
    const std::shared_ptr<XcbConnection> x = XcbConnection::open();
    const std::optional<qint64> idle = lumeno->residentKilobytes();

    for (int number = 1; number <= dictations; ++number) {
        const QString answer = QStringLiteral("Reply number %1 works for me.").arg(number);
        if (!dictate(*lumeno, server, *mail, *x, answer, number <= timedDictations ? &figures : nullptr))
            return 1;
    }
    const std::optional<qint64> after = lumeno->residentKilobytes();

    std::printf("End to end, %d dictations of %s into a GTK mail window:\n", timedDictations, qPrintable(speech));
    print("key down -> overlay on screen", figures.overlay);
    print("key down -> listening (audio started)", figures.listening);
    print("key up -> request at the server", figures.request);
    print("server answer -> text in the field", figures.insert);
    std::printf("%-44s %7.1f ms\n", "process start -> ready for the hot key", figures.ready.front());
    std::printf("%-44s %7.1f MB\n", "resident memory, idle (model loaded)", idle.value_or(0) / 1024.0);
    std::printf("%-44s %7.1f MB\n", "resident memory after 20 dictations", after.value_or(0) / 1024.0);
    return 0;
}
