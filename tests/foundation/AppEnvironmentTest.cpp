// The support folder holds the user's mail, drafts and session: it is made owner-only once at start,
// without ever giving the owner rights they took away.
#include "foundation/AppEnvironment.h"

#include "support/Log.h"
#include "testsupport/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace lumeno {
namespace {

class SupportFolderTest : public ::testing::Test {
protected:
    ~SupportFolderTest() override { Log::setSink(previous); }

    QString path(const QString& relative) const { return base.filePath(relative); }
    static uint modeOf(const QString& path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
    static void setMode(const QString& path, uint mode) { ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0); }

    QTemporaryDir base;
    std::shared_ptr<CapturingLogSink> log = std::make_shared<CapturingLogSink>();
    std::shared_ptr<LogSink> previous = Log::setSink(log);
};

TEST_F(SupportFolderTest, AMissingFolderIsCreatedOwnerOnlyWithItsParents) {
    const QString folder = path(QStringLiteral("share/Lumeno"));
    EXPECT_EQ(AppEnvironment::prepareSupportDirectory(folder), std::nullopt);
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_TRUE(log->lines().isEmpty());
}

TEST_F(SupportFolderTest, AnExistingFolderOpenToOthersIsClosedToThemOnly) {
    const QString folder = path(QStringLiteral("Lumeno"));
    ASSERT_TRUE(QDir().mkdir(folder));
    setMode(folder, 0755);
    EXPECT_EQ(AppEnvironment::prepareSupportDirectory(folder), std::nullopt);
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(log->lines(), QStringList{QStringLiteral("Made the support folder private (its mode was 755)")});

    // The owner made it read-only: that stays theirs to undo.
    setMode(folder, 0555);
    EXPECT_EQ(AppEnvironment::prepareSupportDirectory(folder), std::nullopt);
    EXPECT_EQ(modeOf(folder), 0500u);
    setMode(folder, 0500);
    EXPECT_EQ(AppEnvironment::prepareSupportDirectory(folder), std::nullopt);
    EXPECT_EQ(modeOf(folder), 0500u);
    setMode(folder, 0700);
}

TEST_F(SupportFolderTest, AFolderThatCannotBeCreatedSaysWhy) {
    QFile blocker(path(QStringLiteral("share")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = path(QStringLiteral("share/Lumeno"));
    EXPECT_EQ(AppEnvironment::prepareSupportDirectory(folder),
              QStringLiteral("Couldn't create the folder %1: Not a directory").arg(folder));
}

} // namespace
} // namespace lumeno
