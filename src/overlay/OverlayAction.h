#pragma once

#include "foundation/PermissionsGate.h"
#include "foundation/SettingsTab.h"

#include <QString>

#include <variant>

namespace lumeno {

// The one thing an overlay message offers to do about itself.
struct OverlayAction {
    struct OpenSettings {
        SettingsTab tab;
        bool operator==(const OpenSettings&) const = default;
    };
    struct FixPermission {
        PermissionsGate::Permission permission;
        bool operator==(const FixPermission&) const = default;
    };
    struct Retry {
        bool operator==(const Retry&) const = default;
    };
    struct Resume {
        bool operator==(const Resume&) const = default;
    };
    struct SignIn {
        bool operator==(const SignIn&) const = default;
    };

    std::variant<OpenSettings, FixPermission, Retry, Resume, SignIn> value;

    static OverlayAction openSettings(SettingsTab tab) { return {OpenSettings{tab}}; }
    static OverlayAction fixPermission(PermissionsGate::Permission permission) { return {FixPermission{permission}}; }
    static OverlayAction retry() { return {Retry{}}; }
    static OverlayAction resume() { return {Resume{}}; }
    static OverlayAction signIn() { return {SignIn{}}; }

    // The title of the button that carries it out; the same for every tab and every permission.
    QString buttonTitle() const;

    bool operator==(const OverlayAction&) const = default;
};

} // namespace lumeno
