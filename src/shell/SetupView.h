#pragma once

#include <QWidget>

class QPushButton;

namespace lumeno {

class PermissionsGate;
class Scheduler;
class SettingsStore;

// The permission setup window: the app's icon, "Allow Lumeno", the two permission rows with a one-line
// promise, and "Done". Done marks setup as completed and closes the window whatever the permissions say:
// the rows already tell what is missing, and the user may come back through the menu.
class SetupView : public QWidget {
    Q_OBJECT
public:
    SetupView(PermissionsGate& permissions, Scheduler& scheduler, SettingsStore& settings,
              QWidget* parent = nullptr);

    // Its width, and its height unless a note needs more.
    static constexpr QSize fixedSize{440, 330};

protected:
    bool event(QEvent* event) override;

private:
    void fitHeight();

    SettingsStore& settings_;
};

} // namespace lumeno
