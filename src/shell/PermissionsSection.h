#pragma once

#include "foundation/PermissionsGate.h"
#include "support/Scheduler.h"

#include <QWidget>
#include <optional>

class QLabel;

namespace lumeno {

class PermissionRow;

// The microphone and Accessibility rows. While the section is on screen it re-reads both permissions at
// once and then every second, so a permission granted in the desktop's settings shows up by itself; the
// rows follow the gate whatever changed it.
class PermissionsSection : public QWidget {
    Q_OBJECT
public:
    PermissionsSection(PermissionsGate& permissions, Scheduler& scheduler, QWidget* parent = nullptr);
    ~PermissionsSection() override;

    bool isRefreshing() const { return refresh_.has_value(); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void startRefreshing();
    void stopRefreshing();
    void showStatuses();
    void showRestartNote();

    PermissionsGate& permissions_;
    Scheduler& scheduler_;
    PermissionRow* microphone_;
    PermissionRow* accessibility_;
    QLabel* restartNote_;
    std::optional<Scheduler::TimerId> refresh_;
};

} // namespace lumeno
