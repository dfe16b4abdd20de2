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
        bool switchesOn = false; // the press turns it on, with nothing in between
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
    static OverlayAction fixPermission(PermissionsGate::Permission permission, bool switchesOn = false) {
        return {FixPermission{permission, switchesOn}};
    }
    static OverlayAction retry() { return {Retry{}}; }
    static OverlayAction resume() { return {Resume{}}; }
    static OverlayAction signIn() { return {SignIn{}}; }

    // The title of the button that carries it out; the same for every tab and every permission, but for a
    // permission the press switches on.
    QString buttonTitle() const;

    bool operator==(const OverlayAction&) const = default;
};

} // namespace lumeno
