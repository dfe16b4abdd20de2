#include "app/InstanceLock.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

TEST(InstanceLockTest, OnlyOneCopyHoldsTheLockUntilItEnds) {
    QTemporaryDir runtime;
    auto first = std::make_unique<InstanceLock>(runtime.path());
    ASSERT_TRUE(first->acquire());
    InstanceLock second(runtime.path());
    EXPECT_FALSE(second.acquire());
    first.reset(); // the running copy quits
    EXPECT_TRUE(second.acquire());
}

} // namespace
} // namespace lumeno
