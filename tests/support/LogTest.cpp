#include "support/Log.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

TEST(LogRender, RendersPublicValuesAndHidesPrivateOnes) {
    EXPECT_EQ(Log::render("Listening (%{public}s, %{public}s)", {QString("hold"), QString("en-US")}),
              "Listening (hold, en-US)");
    EXPECT_EQ(Log::render("Lumeno started; pasteboard access: %{public}ld; AX trusted: %{bool,public}d",
                          {qint64(3), true}),
              "Lumeno started; pasteboard access: 3; AX trusted: true");
    EXPECT_EQ(Log::render("Uncaught exception %{public}s: %{private}s", {QString("NSRangeException"),
                                                                        QString("index 4 beyond")}),
              "Uncaught exception NSRangeException: <private>");
    EXPECT_EQ(Log::render("100%% sure, %{public}d left", {qint64(2)}), "100% sure, 2 left");
}

TEST(LogRender, MissingArgumentsRenderEmptyInsteadOfCrashing) {
    EXPECT_EQ(Log::render("Couldn't save memory: %{public}s", {}), "Couldn't save memory: ");
}

TEST(LogSinkTest, CapturingSinkRecordsCategoryLevelAndLine) {
    auto sink = std::make_shared<CapturingLogSink>();
    auto previous = Log::setSink(sink);
    Log::memory.error("Couldn't save memory: %{public}s", {QString("disk full")});
    Log::memory.info("Memory wiped");
    Log::setSink(previous);

    ASSERT_EQ(sink->entries().size(), 2u);
    EXPECT_EQ(sink->entries()[0],
              (CapturingLogSink::Entry{LogCategory::memory, LogLevel::error, "Couldn't save memory: disk full"}));
    EXPECT_EQ(sink->entries()[1].level, LogLevel::info);
    EXPECT_TRUE(sink->contains("Memory wiped"));
}

} // namespace
} // namespace lumeno
