// The program never looks frozen: from its start, through a whole dictation into an application that has
// stopped answering, on a disk that takes a second for every flush, the event loop keeps turning. The heartbeat the program runs
// under LUMENO_HEARTBEAT reports how late its loop ever got; a second is the limit here, the figure itself
// (goal: under 50 ms) is printed for the notes.
#include "e2e/harness/E2eTest.h"

#include "platform/linux/harness/TargetApp.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

#include <csignal>
#include <cstdio>

namespace lumeno::e2e {

namespace {

using desktop::DesktopUser;

class EventLoop : public E2eTest {
protected:
    bool asked(const QString& path) const {
        const auto seen = server.seen();
        return std::any_of(seen.begin(), seen.end(), [&](const auto& request) { return request.path == path; });
    }
    static QByteArray contentsOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The longest stall the program reported when it ended; none when it never said.
    static std::optional<qint64> longestStall(const LumenoProcess& lumeno) {
        static const QRegularExpression pattern(QStringLiteral("Event loop: longest stall (\\d+) ms"));
        for (const LumenoProcess::Line& line : lumeno.lines())
            if (const QRegularExpressionMatch match = pattern.match(line.text); match.hasMatch())
                return match.captured(1).toLongLong();
        return std::nullopt;
    }
};

TEST_F(EventLoop, AFrozenTargetAndASlowDiskNeverHoldTheProgramForASecond) {
    becomeReturningUser();
    home.setSetting(QStringLiteral("showsDraftDetails"), true);
    home.setSetting(QStringLiteral("savesDraftDetails"), true);
    server.setDraftAnswer(200, R"({"text":"Thursday works for me.","provider":"anthropic","model":"m"})");
    desktop::TargetApp target({});
    ASSERT_TRUE(target.waitUntilReady());
    auto lumeno = launch(spoken(QStringLiteral("Tell her Thursday works")),
                         {QStringLiteral("LUMENO_HEARTBEAT=1"), QStringLiteral("LD_PRELOAD=" LUMENO_SLOW_DISK_LIBRARY)});
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    // The account refresh at start rewrites session.json once the server's answer differs from it: the
    // first write on the slow disk.
    const QString sessionFile = home.supportFile(QStringLiteral("session.json"));
    const QByteArray storedSession = contentsOf(sessionFile);
    ASSERT_TRUE(waitUntil([&] { return asked(QStringLiteral("/v1/me")); })) << lumeno->log().toStdString();
    EXPECT_TRUE(waitUntil([&] { return contentsOf(sessionFile) != storedSession; }, 3 * patienceMs));

    // The user holds the key in the reply field; the application freezes right then and stays frozen
    // while Lumeno reads it, drafts and pastes.
    user.press(DesktopUser::rightAlt);
    ASSERT_TRUE(lumeno->waitForLineContaining(QStringLiteral("Listening ("), patienceMs)) << lumeno->log().toStdString();
    ASSERT_EQ(::kill(pid_t(target.pid()), SIGSTOP), 0);
    EXPECT_TRUE(lumeno->waitForLineContaining(QStringLiteral("The audio file has played to its end"), patienceMs))
        << lumeno->log().toStdString();
    user.release(DesktopUser::rightAlt);
    const bool finished = lumeno->waitForLine(QRegularExpression(QStringLiteral("Insert outcome|Overlay message")),
                                              3 * patienceMs)
                              .has_value();
    ::kill(pid_t(target.pid()), SIGCONT);
    EXPECT_TRUE(finished) << lumeno->log().toStdString();

    lumeno->terminate();
    EXPECT_EQ(lumeno->waitForExit(), 0) << lumeno->log().toStdString();
    const std::optional<qint64> longest = longestStall(*lumeno);
    ASSERT_TRUE(longest) << "the heartbeat never reported\n" << lumeno->log().toStdString();
    const qint64 stall = *longest;
    RecordProperty("longestStallMs", QString::number(stall).toStdString());
    std::printf("Longest event-loop stall from the start through a dictation into a frozen target on a slow "
                "disk: %lld ms\n",
                static_cast<long long>(stall));
    EXPECT_LT(stall, 1000) << lumeno->log().toStdString();
}

} // namespace

} // namespace lumeno::e2e
