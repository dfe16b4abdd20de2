#include "platform/Platform.h"

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

TEST(PlatformTest, EachKindProvidesEveryPort) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    ManualClock clock;
    ManualScheduler scheduler(clock);
    for (const PlatformKind kind : {PlatformKind::fake, PlatformKind::linux}) {
        const Platform platform = Platform::create(kind, clock, scheduler, home.filePath("support"));
        expectEveryPort(platform);
    }
    qunsetenv("XDG_CONFIG_HOME");
}

TEST(PlatformTest, TheKindComesFromTheEnvironmentAndDefaultsToLinux) {
    const QByteArray previous = qgetenv("LUMENO_PLATFORM");
    qputenv("LUMENO_PLATFORM", "fake");
    EXPECT_EQ(platformKindFromEnvironment(), PlatformKind::fake);
    qputenv("LUMENO_PLATFORM", "linux");
    EXPECT_EQ(platformKindFromEnvironment(), PlatformKind::linux);
    qunsetenv("LUMENO_PLATFORM");
    EXPECT_EQ(platformKindFromEnvironment(), PlatformKind::linux);
    qputenv("LUMENO_PLATFORM", previous);
}

} // namespace
} // namespace lumeno
