#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"

#include "support/Clock.h"
#include "support/ManualScheduler.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

void expectEveryPort(const Platform& platform) {
    EXPECT_TRUE(platform.defaults);
    EXPECT_TRUE(platform.secrets);
    EXPECT_TRUE(platform.microphone);
    EXPECT_TRUE(platform.accessibilityTrust);
    EXPECT_TRUE(platform.keyboardLayout);
    EXPECT_TRUE(platform.build);
    EXPECT_TRUE(platform.workspace);
    EXPECT_TRUE(platform.globalHotkeys);
    EXPECT_TRUE(platform.modifierState);
    EXPECT_TRUE(platform.pasteboard);
    EXPECT_TRUE(platform.keySynth);
}

TEST(PlatformTest, TheRealAndTheFakeDesktopEachProvideEveryPort) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    ManualClock clock;
    ManualScheduler scheduler(clock);
    expectEveryPort(Platform::create(clock, scheduler, home.filePath("support")));
    expectEveryPort(makeFakePlatform());
    qunsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace lumeno
