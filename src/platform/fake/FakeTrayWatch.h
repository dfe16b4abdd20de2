#pragma once

#include "platform/TrayWatch.h"

#include <vector>

namespace lumeno {

// Trays the test starts, stops and replaces, announced kind by kind as the desktop's are; none until it
// starts one.
class FakeTrayWatch final : public TrayWatch {
public:
    std::optional<bool> has(Kind kind) const override { return kind == Kind::trayManager ? manager_ : host_; }
    bool dock(const QWindow& window) override {
        if (manager_ != true)
            return false;
        docked.push_back(window.winId());
        return true;
    }

    // None: still finding out.
    void setTrayManager(std::optional<bool> running) { set(Kind::trayManager, manager_, running); }
    void setNotifierHost(std::optional<bool> running) { set(Kind::notifierHost, host_, running); }
    // Another program's tray of `kind` takes the place of the one running.
    void replace(Kind kind) { emit changed(kind); }

    // The windows the tray manager was asked to take, in order.
    std::vector<WId> docked;

private:
    void set(Kind kind, std::optional<bool>& value, std::optional<bool> running) {
        if (std::exchange(value, running) != running)
            emit changed(kind);
    }

    std::optional<bool> manager_ = false;
    std::optional<bool> host_ = false;
};

} // namespace lumeno
