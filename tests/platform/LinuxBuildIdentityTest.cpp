#include "platform/linux/LinuxBuildIdentity.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

TEST(LinuxBuildIdentityTest, TheFingerprintIsTheExecutablesSha256AndChangesWithARebuild) {
    QTemporaryDir folder;
    const QString path = folder.filePath("lumeno");
    QFile executable(path);
    ASSERT_TRUE(executable.open(QIODevice::WriteOnly));
    executable.write("abc");
    executable.close();

    const LinuxBuildIdentity build(path);
    EXPECT_EQ(build.codeHash(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_FALSE(build.version().isEmpty());

    ASSERT_TRUE(executable.open(QIODevice::WriteOnly));
    executable.write("abd");
    executable.close();
    EXPECT_NE(LinuxBuildIdentity(path).codeHash(), build.codeHash());
}

TEST(LinuxBuildIdentityTest, AnExecutableThatCannotBeReadHasNoFingerprint) {
    EXPECT_EQ(LinuxBuildIdentity("/nonexistent/lumeno").codeHash(), "");
}

} // namespace
} // namespace lumeno
