// The swap of the application folder, cut off by a kill after each of its steps, on a file system that
// exchanges two folders at once and on one where the swap is two renames: every time, the command
// (bin/lumeno) starts a whole version, and the start's clean-up leaves the folder alone beside nothing.
#include "updates/InstallFolder.h"
#include "updates/UpdateFixture.h"

#include <csignal>
#include <sys/wait.h>

namespace lumeno::testing {
namespace {

class InstallFolderTest : public UpdateFixture, public ::testing::WithParamInterface<bool> {
protected:
    InstallFolderTest() {
        QDir().mkpath(temp.filePath("prefix/bin"));
        EXPECT_TRUE(QFile::copy(QStringLiteral(LUMENO_COMMAND), command));
        // Versions that run and end well: a new one on trial that failed would be replaced at its start.
        writeProgram(installed, "1.0.0", key, "install", "exit 0");
        writeProgram(folder.staging(), "1.1.0", key, "install", "exit 0");
    }

    // Runs `step` on the folder in a child process that is killed right after the swap's step `killedAfter`;
    // whether it died there (0: whether it ran to the end and `step` succeeded).
    bool runKilledAfter(int killedAfter, const std::function<bool(InstallFolder&)>& step) {
        const pid_t child = ::fork();
        if (child == 0) {
            InstallFolder inChild(installed);
            inChild.exchangeAvailable = GetParam();
            inChild.afterStep = [killedAfter](int done) {
                if (done == killedAfter)
                    ::raise(SIGKILL);
            };
            ::_exit(step(inChild) ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return killedAfter == 0 ? WIFEXITED(status) && WEXITSTATUS(status) == 0
                                : WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }

    // What the program the command starts last wrote: its version and arguments; empty when nothing started.
    // `whileRunning` is called once the command has started.
    QString startedLine(const std::function<void(QProcess&)>& whileRunning = [](QProcess&) {}) {
        QFile::remove(temp.filePath("started.txt"));
        QProcess started;
        started.start(command, {});
        whileRunning(started);
        EXPECT_TRUE(started.waitForFinished(10000));
        QFile written(temp.filePath("started.txt"));
        return written.open(QIODevice::ReadOnly) ? QString::fromUtf8(written.readAll()).trimmed() : QString();
    }
    QString startedVersion() { return startedLine().section(u' ', 0, 0); }

    // What the start of a running program does: clears what an update left; then only the folder is left.
    void expectCleanAfterStart() {
        EXPECT_TRUE(folder.clearLeftovers());
        EXPECT_EQ(QDir(temp.filePath("prefix/lib")).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"lumeno"});
    }

    static bool swap(InstallFolder& folder) { return !folder.swapInStaging(); }
    static bool putBack(InstallFolder& folder) { return !folder.restorePrevious(); }

    InstallFolder folder{installed};
    QString command = temp.filePath("prefix/bin/lumeno");
};

TEST_P(InstallFolderTest, ASwapCutOffAfterAnyStepLeavesAWholeVersionThatStarts) {
    for (const int killedAfter : {1, 2}) {
        SCOPED_TRACE(killedAfter);
        ASSERT_TRUE(runKilledAfter(killedAfter, swap));
        // Exchanged, the new version is in place from the first step; renamed, the folder is missing
        // after the first, and the command puts the old version back.
        const QString expected = GetParam() || killedAfter == 2 ? "1.1.0" : "1.0.0";
        EXPECT_EQ(startedVersion(), expected);
        // Whichever way it was cut off, a new version in place keeps the replaced one beside it, on trial.
        EXPECT_EQ(folder.keepReplacedFromCutOffSwap(expected), GetParam() && killedAfter == 1);
        EXPECT_EQ(QFileInfo::exists(QDir(folder.previous()).filePath("lumeno")), expected == "1.1.0");
        expectCleanAfterStart();
        EXPECT_EQ(startedVersion(), expected);
        // The next round starts from the version now in place.
        QDir(installed).removeRecursively();
        writeProgram(installed, "1.0.0", key, "install", "exit 0");
        writeProgram(folder.staging(), "1.1.0", key, "install", "exit 0");
    }
}

TEST_P(InstallFolderTest, PuttingTheReplacedVersionBackCutOffAfterAnyStepLeavesAWholeVersionThatStarts) {
    ASSERT_TRUE(runKilledAfter(0, swap));
    ASSERT_EQ(startedVersion(), "1.1.0");
    for (const int killedAfter : {1, 2}) {
        SCOPED_TRACE(killedAfter);
        ASSERT_TRUE(runKilledAfter(killedAfter, putBack));
        const auto waiting = AppBundle::read(folder.previous()); // never the failed one, the command's way back
        EXPECT_TRUE(!std::holds_alternative<AppBundle>(waiting) || std::get<AppBundle>(waiting).version == "1.0.0");
        // Exchanged, the old version is back after the first step; renamed, the folder is missing after the
        // first and the command puts the old version back; either way the failed one never starts again.
        EXPECT_EQ(startedVersion(), "1.0.0");
        expectCleanAfterStart();
        // Installed once more, for the next round.
        writeProgram(folder.staging(), "1.1.0", key, "install", "exit 0");
        ASSERT_TRUE(runKilledAfter(0, swap));
    }
}

TEST_P(InstallFolderTest, ASwapAndItsUndoingRunToTheEnd) {
    ASSERT_TRUE(runKilledAfter(0, swap));
    EXPECT_EQ(startedVersion(), "1.1.0");
    EXPECT_FALSE(QFileInfo::exists(folder.staging()));
    EXPECT_TRUE(QFileInfo::exists(QDir(folder.previous()).filePath("lumeno")));
    ASSERT_TRUE(runKilledAfter(0, putBack));
    EXPECT_EQ(startedVersion(), "1.0.0");
    EXPECT_FALSE(QFileInfo::exists(folder.staging()));
    EXPECT_FALSE(QFileInfo::exists(folder.previous()));
}

TEST_P(InstallFolderTest, ASwapThatCannotFinishPutsTheInstalledVersionBackAtOnce) {
    QDir(folder.staging()).removeRecursively(); // the new version is gone before its rename
    EXPECT_FALSE(runKilledAfter(0, swap));
    EXPECT_TRUE(QFileInfo::exists(QDir(installed).filePath("lumeno"))) << "back without the command's help";
    EXPECT_FALSE(QFileInfo::exists(folder.previous()));
    EXPECT_EQ(startedVersion(), "1.0.0");
}

// While the replaced version is beside it, the command falls back to that one when the new one cannot run or
// crashes, and only then: not at an ordinary end, nor at a crash on the way out after it was asked to end.
TEST_P(InstallFolderTest, TheCommandFallsBackWhenANewVersionOnTrialFailsAndOnlyThen) {
    const QString stopped = QStringLiteral("trap \"echo 1.1.0 stopped > '%1'; kill -SEGV \\$\\$\" TERM; while :; do sleep 0.1; done");
    for (const QString& then : {"exit 1", "exit 127", "kill -TERM $$", "kill -SEGV $$", "kill -ABRT $$", "stopped"}) {
        SCOPED_TRACE(then.toStdString());
        for (const QString& place : {installed, folder.staging(), folder.previous()})
            QDir(place).removeRecursively();
        writeProgram(folder.previous(), "1.0.0", key, "install", "exit 0");
        writeProgram(installed, "1.1.0", key, "install", then == "stopped" ? stopped.arg(temp.filePath("started.txt")) : then);
        const bool fails = then.contains("127") || then.contains("SEGV $$") || then.contains("ABRT");
        EXPECT_EQ(startedLine([&](QProcess& command) {
                      if (then == "stopped" && QTest::qWaitFor([&] { return QFile::exists(temp.filePath("started.txt")); }, 10000))
                          command.terminate();
                  }),
                  fails ? "1.0.0 --after-failed-start" : then == "stopped" ? "1.1.0 stopped" : "1.1.0");
        EXPECT_EQ(QFile::exists(QDir(folder.staging()).filePath("bundle.properties")), fails) << "the failed one, to be read";
        EXPECT_NE(QFileInfo::exists(folder.previous()), fails);
    }
}

INSTANTIATE_TEST_SUITE_P(FileSystems, InstallFolderTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "exchange" : "twoRenames"; });

} // namespace
} // namespace lumeno::testing
