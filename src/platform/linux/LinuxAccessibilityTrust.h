#pragma once

#include "platform/AccessibilityTrust.h"

#include <QDBusConnection>

#include <memory>

namespace lumeno {

// On the Linux desktop other applications expose their fields only while the accessibility bus is switched
// on (the AT-SPI bus's org.a11y.Status.IsEnabled), so that switch is what "trusted" means. Asking for trust
// switches it on: the desktop shows no prompt for it. Without a session bus or an accessibility bus the
// program is not trusted and a request changes nothing.
class LinuxAccessibilityTrust final : public AccessibilityTrust {
public:
    explicit LinuxAccessibilityTrust(QDBusConnection bus = QDBusConnection::sessionBus());

    bool isTrusted() const override { return *trusted_; }
    QCoro::Task<bool> checkTrust() override;
    void requestTrust(std::function<void()> whenAnswered) override;
    // The switch is the desktop's and anyone on the session bus may turn it, whoever turned it off.
    bool canSwitchOn() const override { return bus_.isConnected(); }
    // GTK, Qt and Gecko applications follow the switch while they run; Chromium and the applications built
    // on its engine (Electron, CEF) read it only as they start, and stay invisible until restarted.
    bool needsRestartToBeRead(qint64 pid) const override;

private:
    QDBusConnection bus_;
    // Shared with the checks in flight, which may answer after this port is gone.
    std::shared_ptr<bool> trusted_ = std::make_shared<bool>(false);
};

} // namespace lumeno
