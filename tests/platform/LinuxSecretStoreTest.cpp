#include "platform/linux/LinuxSecretStore.h"

#include "support/Clock.h"

#include <QCoroTask>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace lumeno {
namespace {

class LinuxSecretStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(support.isValid()); }
    QString path() const { return support.filePath("Lumeno/secrets.json"); }

    QTemporaryDir support;
    ManualClock clock;
};

TEST_F(LinuxSecretStoreTest, SecretsSurviveARestartInAnOwnerOnlyFile) {
    {
        LinuxSecretStore store(path(), clock);
        EXPECT_EQ(QCoro::waitFor(store.set("anthropic", "sk-ant-123")), std::nullopt);
        EXPECT_EQ(QCoro::waitFor(store.set("openai", "sk-456")), std::nullopt);
        EXPECT_EQ(QCoro::waitFor(store.remove("openai")), std::nullopt);
        EXPECT_EQ(QCoro::waitFor(store.remove("never-set")), std::nullopt);
    }
    const LinuxSecretStore store(path(), clock);
    EXPECT_EQ(store.get("anthropic"), "sk-ant-123");
    EXPECT_EQ(store.get("openai"), std::nullopt);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// The file is written off the event loop: a change asked while another is still being written builds on it.
TEST_F(LinuxSecretStoreTest, AChangeAskedWhileAnotherIsWrittenKeepsBoth) {
    LinuxSecretStore store(path(), clock);
    QCoro::Task<std::optional<QString>> first = store.set("anthropic", "sk-ant-123");
    QCoro::Task<std::optional<QString>> second = store.set("openai", "sk-456");
    EXPECT_EQ(QCoro::waitFor(first), std::nullopt);
    EXPECT_EQ(QCoro::waitFor(second), std::nullopt);
    EXPECT_EQ(store.get("anthropic"), "sk-ant-123");
    const LinuxSecretStore reopened(path(), clock);
    EXPECT_EQ(reopened.get("anthropic"), "sk-ant-123");
    EXPECT_EQ(reopened.get("openai"), "sk-456");
}

TEST_F(LinuxSecretStoreTest, ASecretThatCannotBeKeptIsReportedAndNotPretended) {
    QFile blocker(support.filePath("Lumeno"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder belongs
    blocker.close();
    LinuxSecretStore store(path(), clock);
    const auto failure = QCoro::waitFor(store.set("anthropic", "sk-ant-123"));
    ASSERT_TRUE(failure);
    EXPECT_FALSE(failure->isEmpty());
    EXPECT_EQ(store.get("anthropic"), std::nullopt);
    ASSERT_TRUE(QFile::remove(support.filePath("Lumeno")));
    EXPECT_EQ(QCoro::waitFor(store.set("openai", "sk-456")), std::nullopt);
    EXPECT_EQ(store.get("anthropic"), std::nullopt) << "the failed secret came along with a later one";
}

} // namespace
} // namespace lumeno
