#pragma once

#include "platform/PanelWindowHints.h"
#include "platform/linux/X11SelectionOwnerWatch.h"

#include <memory>
#include <optional>

namespace lumeno {

class XcbConnection;

// The hints through the X server: an input shape for a panel's clickable part, and whether a compositing
// manager runs, from the owner of the screen's _NET_WM_CM_S<n> selection, which every compositing manager
// takes, watched through XFixes. Without an X server (Wayland), the desktop always composites.
class X11PanelWindowHints final : public PanelWindowHints {
public:
    explicit X11PanelWindowHints(std::shared_ptr<XcbConnection> x);
    ~X11PanelWindowHints() override;

    void setInputArea(QWindow& panel, const QRect& area) override;
    bool isCompositing() const override { return !compositingManager_ || compositingManager_->isOwned(); }

private:
    std::optional<X11SelectionOwnerWatch> compositingManager_;
};

} // namespace lumeno
