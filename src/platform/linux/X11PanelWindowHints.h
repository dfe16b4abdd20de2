#pragma once

#include "platform/PanelWindowHints.h"

namespace lumeno {

// The hints through the X server: EWMH states and desktop for the panel, an input shape for its clickable
// part. Does nothing when the program does not run on X11 (offscreen, Wayland).
class X11PanelWindowHints final : public PanelWindowHints {
public:
    void prepare(QWindow& panel) override;
    void setInputArea(QWindow& panel, const QRect& area) override;
};

} // namespace lumeno
