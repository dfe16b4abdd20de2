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
        writeProgram(folder.staging(), "1.1.0", key);
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

    // The version the command starts, as the program wrote it; empty when nothing started.
    QString startedVersion() {
        QFile::remove(temp.filePath("started.txt"));
        QProcess started;
        started.start(command, {});
        EXPECT_TRUE(started.waitForFinished(10000));
        QFile written(temp.filePath("started.txt"));
        return written.open(QIODevice::ReadOnly) ? QString::fromUtf8(written.readAll()).section(u' ', 0, 0) : QString();
    }

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
        expectCleanAfterStart();
        EXPECT_EQ(startedVersion(), expected);
        // The next round starts from the version now in place.
        QDir(installed).removeRecursively();
        writeProgram(installed, "1.0.0", key);
        writeProgram(folder.staging(), "1.1.0", key);
    }
}

TEST_P(InstallFolderTest, PuttingTheReplacedVersionBackCutOffAfterAnyStepLeavesAWholeVersionThatStarts) {
    ASSERT_TRUE(runKilledAfter(0, swap));
    ASSERT_EQ(startedVersion(), "1.1.0");
    for (const int killedAfter : {1, 2}) {
        SCOPED_TRACE(killedAfter);
        ASSERT_TRUE(runKilledAfter(killedAfter, putBack));
        // Exchanged, the old version is back after the first step; renamed, the folder is missing after the
        // first and the command puts the old version back; either way the failed one never starts again.
        EXPECT_EQ(startedVersion(), "1.0.0");
        expectCleanAfterStart();
        // Installed once more, for the next round.
        writeProgram(folder.staging(), "1.1.0", key);
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

INSTANTIATE_TEST_SUITE_P(FileSystems, InstallFolderTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "exchange" : "twoRenames"; });

} // namespace
} // namespace lumeno::testing
