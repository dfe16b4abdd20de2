#pragma once

#include "foundation/PermissionsGate.h"

#include <QWidget>
#include <functional>

class QPushButton;

namespace lumeno {

class SymbolView;

// One permission as a settings row: its tile, name and one-line detail, then a green check mark when it is
// granted or a button that asks for it.
class PermissionRow : public QWidget {
    Q_OBJECT
public:
    using Permission = PermissionsGate::Permission;
    using Status = PermissionsGate::Status;

    PermissionRow(Permission permission, const QString& detail, std::function<void()> action,
                  QWidget* parent = nullptr);

    void setStatus(Status status);

    // The title the button shows while the permission is missing: only a microphone that was never asked
    // can be allowed in place; everything else is settled in the desktop's settings.
    static QString buttonTitle(Permission permission, Status status);

private:
    Permission permission_;
    std::function<void()> action_;
    QPushButton* button_;
    SymbolView* granted_;
};

} // namespace lumeno
