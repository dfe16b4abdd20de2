#pragma once

#include <QWidget>

namespace lumeno {

class PermissionsGate;
class Scheduler;

// The Permissions tab: the two permission rows and the promise about what is read.
class PermissionsSettingsView : public QWidget {
    Q_OBJECT
public:
    PermissionsSettingsView(PermissionsGate& permissions, Scheduler& scheduler, QWidget* parent = nullptr);
};

} // namespace lumeno
