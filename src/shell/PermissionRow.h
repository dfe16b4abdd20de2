#pragma once

#include "foundation/PermissionsGate.h"

#include <QWidget>
#include <functional>
#include <optional>

class QPushButton;

namespace lumeno {

class ProblemLabel;
class SymbolView;

// One permission as a settings row: its tile, name and one-line detail, then a green check mark when it is
// granted or a button that asks for it. When the button could not do what it says, what to do instead
// shows under the detail until the status changes.
class PermissionRow : public QWidget {
    Q_OBJECT
public:
    using Permission = PermissionsGate::Permission;
    using Status = PermissionsGate::Status;

    // `action` answers none, or what the user can do instead.
    using Action = std::function<std::optional<QString>()>;

    PermissionRow(Permission permission, const QString& detail, Action action, QWidget* parent = nullptr);

    // How the row offers a missing permission: a button that asks, one that switches it on in place, or
    // none, with why nothing here can help.
    struct Offer {
        bool switchesOn = false;
        QString helpless; // empty: a button is offered
        bool operator==(const Offer&) const = default;
    };

    void setStatus(Status status, const Offer& offer);

    // The title the button shows while the permission is missing: a microphone that was never asked can be
    // allowed in place, and a switch the press turns on says so; everything else is settled in the
    // desktop's settings.
    static QString buttonTitle(Permission permission, Status status, bool switchesOn);

private:
    Permission permission_;
    Action action_;
    std::optional<Status> status_;
    Offer offer_;
    QPushButton* button_;
    ProblemLabel* problem_;
    SymbolView* granted_;
};

} // namespace lumeno
