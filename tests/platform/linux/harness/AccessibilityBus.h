#pragma once

#include "platform/linux/harness/ChildProcess.h"

#include <QString>
#include <QTemporaryDir>

namespace lumeno::desktop {

// A desktop session's accessibility plumbing for the tests: a session D-Bus and the accessibility bus
// launcher on it, with accessibility switched on (as a user would with the desktop's setting), both
// stopped by pid. Applications started afterwards find them through the environment it sets.
class AccessibilityBus {
public:
    // Started on first use and kept for the rest of the test binary.
    static AccessibilityBus& instance();

    AccessibilityBus();
    ~AccessibilityBus();

    bool isRunning() const { return !accessibilityAddress_.isEmpty(); }
    const QString& whyNotRunning() const { return whyNot_; }
    const QString& sessionAddress() const { return sessionAddress_; }
    // The accessibility bus itself, as org.a11y.Bus.GetAddress gives it.
    const QString& accessibilityAddress() const { return accessibilityAddress_; }

    // The desktop's accessibility switch (org.a11y.Status.IsEnabled), on from the start; a stock desktop
    // has it off until something turns it on.
    bool isEnabled() const;
    void setEnabled(bool enabled);

private:
    bool start();
    bool startSessionBus();
    bool startLauncher();

    QTemporaryDir runtime_;
    ChildProcess sessionBus_;
    ChildProcess launcher_;
    QString sessionAddress_;
    QString accessibilityAddress_;
    QString whyNot_;
};

} // namespace lumeno::desktop
