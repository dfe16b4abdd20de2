#pragma once

#include "overlay/BottomLeftRect.h"
#include "platform/ScreenInfo.h"

#include <QRect>
#include <QSizeF>

namespace lumeno {

// Where the floating panels go. Pure functions of the screens, the pointer and the content's size, in
// placement coordinates; `WorkArea::toWindow` turns a result into a Qt window rectangle.
struct OverlayLayout {
    // The usable part of the screen under the pointer.
    struct WorkArea {
        BottomLeftRect visible;
        double flipHeight = 0;
        // Whole device-independent pixels, as Qt windows take them.
        QRect toWindow(const BottomLeftRect& frame) const;
    };

    struct CapturePlacement {
        BottomLeftRect frame;
        double cornerRadius = 0;
        bool operator==(const CapturePlacement&) const = default;
    };

    // The first screen whose frame holds the pointer, else the main screen, else a 1440 × 900 screen at
    // the origin; its visible frame.
    static WorkArea workArea(const ScreenInfo& screens);

    // The capture overlay around content of `measured` size: at least 184 × 50, centred 28 points clear of
    // either side (the right-hand margin wins on a very narrow screen), 36 points above the bottom.
    static CapturePlacement capturePanel(const BottomLeftRect& visible, QSizeF measured);

    // The listening debug panel: a fixed size for the screen, centred, 10 points below the top.
    static BottomLeftRect debugPanel(const BottomLeftRect& visible);
};

} // namespace lumeno
