#include "overlay/OverlayAction.h"

namespace lumeno {

namespace {

struct ButtonTitle {
    QString operator()(const OverlayAction::OpenSettings&) const { return QStringLiteral("Open Settings…"); }
    QString operator()(const OverlayAction::FixPermission& fix) const {
        return fix.switchesOn ? QStringLiteral("Turn On") : QStringLiteral("Fix…");
    }
    QString operator()(const OverlayAction::Retry&) const { return QStringLiteral("Try Again"); }
    QString operator()(const OverlayAction::Resume&) const { return QStringLiteral("Resume"); }
    QString operator()(const OverlayAction::SignIn&) const { return QStringLiteral("Sign In…"); }
};

} // namespace

QString OverlayAction::buttonTitle() const {
    return std::visit(ButtonTitle{}, value);
}

} // namespace lumeno
