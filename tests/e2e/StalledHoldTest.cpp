// The hot key held for a second while Lumeno is stopped (SIGSTOP, as a debugger or an overloaded machine
// does), then let go before it goes on: the press and the release reach it together, yet they were a hold,
// not a tap, so no hands-free listening starts. The next hold listens as usual.
#include "e2e/harness/E2eTest.h"
#include "foundation/Hotkey.h"
#include "platform/VirtualKeyCodes.h"

#include <QFile>

#include <csignal>

namespace lumeno::e2e {

namespace {

using desktop::DesktopUser;

constexpr quint8 spaceKey = 65; // pc105
constexpr quint32 heldMs = 1000;

class StalledHold : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        if (!IsSkipped())
            becomeReturningUser();
    }

    // Whether the process is stopped by a signal now, by its state in /proc.
    static bool isStopped(qint64 pid) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return false;
        const QByteArray line = stat.readAll();
        const qsizetype afterName = line.lastIndexOf(')');
        return afterName >= 0 && line.mid(afterName + 2, 1) == "T";
    }

    // The user holds `modifiers` and `key` for a second while the program is stopped, lets go, and the
    // program goes on. Then holds them again, as the user does when nothing happened: the first listening
    // to start since the stop must be this new hold's.
    void holdWhileStopped(LumenoProcess& lumeno, const std::vector<quint8>& modifiers, quint8 key) {
        const pid_t pid = pid_t(lumeno.pid());
        const qsizetype seen = qsizetype(lumeno.lines().size());
        ASSERT_EQ(::kill(pid, SIGSTOP), 0);
        ASSERT_TRUE(waitUntil([&] { return isStopped(pid); })) << "the program never stopped";
        for (const quint8 modifier : modifiers)
            user.press(modifier);
        user.press(key);
        user.releaseAfter(key, heldMs);
        for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier)
            user.release(*modifier);
        ASSERT_EQ(::kill(pid, SIGCONT), 0);

        for (const quint8 modifier : modifiers)
            user.press(modifier);
        user.press(key);
        const std::optional<LumenoProcess::Line> listening =
            lumeno.waitForLineContaining(QStringLiteral("Listening ("), patienceMs, seen);
        ASSERT_TRUE(listening) << lumeno.log().toStdString();
        EXPECT_EQ(listening->text.mid(listening->text.indexOf(QStringLiteral("Listening ("))).toStdString(),
                  "Listening (hold, reply)")
            << "the stalled hold was taken for a tap\n"
            << lumeno.log().toStdString();
        // The overlay shows listening, as for any hold (not the hands-free look).
        std::vector<xcb_window_t> overlay;
        EXPECT_TRUE(waitUntil([&] { return !(overlay = popupsOf(lumeno.pid())).empty(); }));
        if (!overlay.empty())
            screenshotOnceDrawn(overlay.front(), QStringLiteral("next-hold"));
        user.release(key);
        for (auto modifier = modifiers.rbegin(); modifier != modifiers.rend(); ++modifier)
            user.release(*modifier);
    }
};

TEST_F(StalledHold, RightAltHeldWhileTheProgramWasStoppedIsNoTap) {
    auto lumeno = launch(std::nullopt);
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    holdWhileStopped(*lumeno, {}, DesktopUser::rightAlt);
}

TEST_F(StalledHold, ACombinationHeldWhileTheProgramWasStoppedIsNoTap) {
    using namespace VirtualKey;
    home.setSetting(QStringLiteral("hotkey"), Hotkey::combo(KeyCombo{space, controlFlag | shiftFlag}).toJson());
    auto lumeno = launch(std::nullopt);
    ASSERT_TRUE(lumeno->waitUntilReady()) << lumeno->log().toStdString();
    holdWhileStopped(*lumeno, {DesktopUser::leftControl, DesktopUser::leftShift}, spaceKey);
}

} // namespace

} // namespace lumeno::e2e
