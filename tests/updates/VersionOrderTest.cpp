#include "updates/VersionOrder.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

TEST(VersionOrderTest, OrdersVersionsTheWayFeedsDo) {
    const std::pair<const char*, const char*> olderThenNewer[] = {
        {"1.9", "1.10"},      // numbers, not text
        {"1.0", "1.0.1"},     // one more number is a later release
        {"1.0b2", "1.0"},     // letters where the other ends: a pre-release of it
        {"1.0-rc1", "1.0"},   //
        {"1.0a1", "1.0b1"},   //
        {"1.0b9", "1.0b10"},  //
        {"1.0b1", "1.0.1"},   // a number after the release beats a pre-release
        {"1.0.0", "2"},       //
        {"0.9.99", "1.0.0"},  //
    };
    for (const auto& [older, newer] : olderThenNewer) {
        EXPECT_LT(VersionOrder::compare(older, newer), 0) << older << " < " << newer;
        EXPECT_GT(VersionOrder::compare(newer, older), 0) << newer << " > " << older;
        EXPECT_TRUE(VersionOrder::isNewer(newer, older));
        EXPECT_FALSE(VersionOrder::isNewer(older, newer));
    }
}

TEST(VersionOrderTest, TheSameVersionWrittenAlikeIsNotNewer) {
    EXPECT_EQ(VersionOrder::compare("1.10", "1.10"), 0);
    EXPECT_EQ(VersionOrder::compare("1.010", "1.10"), 0);
    EXPECT_EQ(VersionOrder::compare("1.00", "1.0"), 0);
    EXPECT_EQ(VersionOrder::compare("1.05", "1.5"), 0);
    EXPECT_EQ(VersionOrder::compare("1.0B2", "1.0b2"), 0);
    EXPECT_FALSE(VersionOrder::isNewer("1.1.0", "1.1.0"));
}

} // namespace
} // namespace lumeno
