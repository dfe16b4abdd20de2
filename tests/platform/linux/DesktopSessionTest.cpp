#include "platform/linux/DesktopSession.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

TEST(DesktopSessionTest, AWaylandSessionWithoutXIsReportedAsUnsupported) {
    const DesktopSession wayland{QStringLiteral("wayland"), QString(), false};
    const std::optional<QString> reason = wayland.unsupportedReason();
    ASSERT_TRUE(reason);
    EXPECT_TRUE(reason->contains(QLatin1String("Wayland"))) << reason->toStdString();
    EXPECT_TRUE(reason->contains(QLatin1String("X11"))) << "says what to do instead";
}

TEST(DesktopSessionTest, XWaylandWorksWithItsLimitNamed) {
    const DesktopSession xwayland{QStringLiteral("wayland"), QStringLiteral(":0"), true};
    EXPECT_EQ(xwayland.unsupportedReason(), std::nullopt);
    ASSERT_TRUE(xwayland.limitation());
    EXPECT_TRUE(xwayland.limitation()->contains(QLatin1String("XWayland")));
}

TEST(DesktopSessionTest, AnX11SessionIsFineAndAMissingServerIsNamed) {
    EXPECT_EQ((DesktopSession{QStringLiteral("x11"), QStringLiteral(":0"), true}.unsupportedReason()), std::nullopt);
    EXPECT_EQ((DesktopSession{QStringLiteral("x11"), QStringLiteral(":0"), true}.limitation()), std::nullopt);
    EXPECT_EQ((DesktopSession{QStringLiteral("x11"), QStringLiteral(":7"), false}.unsupportedReason()),
              QStringLiteral("Lumeno couldn't connect to the X display :7."));
    EXPECT_TRUE((DesktopSession{QStringLiteral("tty"), QString(), false}.unsupportedReason()));
}

} // namespace
} // namespace lumeno
