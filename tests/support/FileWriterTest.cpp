#include "support/FileWriter.h"

#include <QCoroTask>
#include <QStringList>

#include <chrono>
#include <future>
#include <gtest/gtest.h>

#include <mutex>

namespace lumeno {
namespace {

// File work that notes what it did; the first piece can be held until the test lets it go, as a slow
// disk holds a write.
class FileWriterTest : public ::testing::Test {
protected:
    void SetUp() override { previousSink = Log::setSink(log); }
    void TearDown() override {
        let();
        Log::setSink(previousSink);
    }

    FileWriter::Work noting(const QString& what, std::optional<QString> failure = std::nullopt) {
        return [this, what, failure] {
            std::lock_guard lock(mutex);
            done << what;
            return failure;
        };
    }
    FileWriter::Work held(const QString& what) {
        return [this, what, gate = gate.get_future().share()] {
            started.set_value();
            gate.wait_for(std::chrono::seconds(20));
            std::lock_guard lock(mutex);
            done << what;
            return std::optional<QString>();
        };
    }
    QStringList doneSoFar() {
        std::lock_guard lock(mutex);
        return done;
    }
    void let() {
        if (!let_) {
            let_ = true;
            gate.set_value();
        }
    }

    std::shared_ptr<CapturingLogSink> log = std::make_shared<CapturingLogSink>();
    std::shared_ptr<LogSink> previousSink;
    std::promise<void> gate;
    std::promise<void> started;
    bool let_ = false;
    std::mutex mutex;
    QStringList done;
};

TEST_F(FileWriterTest, ASaveReturnsAtOnceAndOnlyTheNewestOfTheSavesWaitingIsWritten) {
    FileWriter writer(Log::memory, QStringLiteral("Couldn't save memory: %{public}s"));
    writer.save(held(QStringLiteral("first")));
    ASSERT_EQ(started.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);
    writer.save(noting(QStringLiteral("second")));
    writer.save(noting(QStringLiteral("third")));
    EXPECT_EQ(doneSoFar(), QStringList()) << "a save waited for the disk";

    let();
    writer.finish();
    EXPECT_EQ(doneSoFar(), (QStringList{QStringLiteral("first"), QStringLiteral("third")}));
}

TEST_F(FileWriterTest, OtherWorkKeepsItsPlaceAmongTheSaves) {
    FileWriter writer(Log::memory, QStringLiteral("Couldn't save memory: %{public}s"));
    writer.save(held(QStringLiteral("save before")));
    ASSERT_EQ(started.get_future().wait_for(std::chrono::seconds(20)), std::future_status::ready);
    writer.save(noting(QStringLiteral("newer save before")));
    QCoro::Task<std::optional<QString>> removal = writer.run(noting(QStringLiteral("removal")));
    writer.save(noting(QStringLiteral("save after")));
    EXPECT_FALSE(removal.isReady());

    let();
    EXPECT_EQ(QCoro::waitFor(removal), std::nullopt);
    writer.finish();
    EXPECT_EQ(doneSoFar(), (QStringList{QStringLiteral("save before"), QStringLiteral("newer save before"),
                                        QStringLiteral("removal"), QStringLiteral("save after")}));
}

TEST_F(FileWriterTest, AFailedSaveIsLoggedAndTheLastSaveIsDoneBeforeTheWriterGoes) {
    {
        FileWriter writer(Log::memory, QStringLiteral("Couldn't save memory: %{public}s"));
        writer.save(
            noting(QStringLiteral("failing"), QStringLiteral("Couldn't write memory.json: No space left")));
        writer.finish();
        ASSERT_EQ(log->entries().size(), size_t(1));
        EXPECT_EQ(log->entries().front().line,
                  QStringLiteral("Couldn't save memory: Couldn't write memory.json: No space left"));
        EXPECT_EQ(log->entries().front().level, LogLevel::error);
        writer.save(
            noting(QStringLiteral("last"), QStringLiteral("Couldn't write memory.json: Read-only file system")));
    }
    EXPECT_EQ(doneSoFar(), (QStringList{QStringLiteral("failing"), QStringLiteral("last")}));
    ASSERT_EQ(log->entries().size(), size_t(2)) << "the last save's failure is told too";
    EXPECT_EQ(log->entries().back().line,
              QStringLiteral("Couldn't save memory: Couldn't write memory.json: Read-only file system"));
}

} // namespace
} // namespace lumeno
