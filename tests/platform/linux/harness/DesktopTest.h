#pragma once

#include "platform/linux/harness/TestDesktop.h"

#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <functional>

class QWidget;

namespace lumeno::desktop {

// Base of every test that needs the real X desktop. The desktop runs once for the whole test binary
// (DesktopTestMain.cpp); a test skips, saying why, only when no X server could start.
class DesktopTest : public ::testing::Test {
public:
    // How long a condition on the desktop is given to come true. A wait ends the moment its condition holds,
    // so this only bounds a failure: generous, since a loaded machine can take seconds to deliver an event,
    // yet bounded so a broken desktop fails instead of hanging.
    static constexpr int patienceMs = 30000;

    // Runs the event loop until `condition` holds, at most `timeoutMs`; whether it came to hold.
    static bool waitUntil(const std::function<bool()>& condition, int timeoutMs = patienceMs);

protected:
    void SetUp() override;

    static TestDesktop& desktop() { return TestDesktop::instance(); }
    static QImage grabScreen();
    // Saves what the screen shows as <name>.png in the screenshot folder, once it differs from `before`
    // (applications paint a moment after they change); the path, empty when the screen never changed.
    static QString screenshotOnceChanged(const QString& name, const QImage& before);
    // Saves the picture of `window` once its content is drawn; empty when it never is.
    static QString screenshotOncePainted(const QWidget& window, const QString& name);
};

} // namespace lumeno::desktop
