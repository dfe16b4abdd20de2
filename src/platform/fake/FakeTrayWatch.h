#pragma once

#include "platform/TrayWatch.h"

#include <utility>

namespace lumeno {

// Trays the test starts and stops; none until it does.
class FakeTrayWatch final : public TrayWatch {
public:
    std::optional<bool> isAvailable() const override {
        return known_ ? std::optional(manager_ || host_) : std::nullopt;
    }
    bool hasTrayManager() const override { return manager_; }
    bool hasNotifierHost() const override { return host_; }

    // A tray manager; none: still finding out.
    void setAvailable(std::optional<bool> manager) { set(manager.has_value(), manager.value_or(false), host_); }
    void setNotifierHost(bool host) { set(true, manager_, host); }

private:
    void set(bool known, bool manager, bool host) {
        const bool changed = known != known_ || manager != manager_ || host != host_;
        known_ = known;
        manager_ = manager;
        host_ = host;
        if (changed)
            emit availabilityChanged();
    }

    bool known_ = true;
    bool manager_ = false;
    bool host_ = false;
};

} // namespace lumeno
