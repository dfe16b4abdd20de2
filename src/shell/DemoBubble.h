#pragma once

#include "shell/DemoFrame.h"

#include <QPalette>
#include <QRectF>

class QPainter;

namespace lumeno {

// The listening bubble of the demonstration: the Edit tag on the Edit page, then either the level meter
// with the words heard so far, or a spinner with the busy label.
struct DemoBubble {
    static constexpr int barCount = 5;
    static constexpr double height = 28;

    // The level-meter bar's height in points at `t` seconds: each bar swings on its own phase between 35 %
    // and all of its weighted 12 points, over a 3-point floor.
    static double barHeight(int index, double t);

    // The bubble's width for a frame, to centre it.
    static double width(const DemoFrame& frame, bool edit);
    // Paints the bubble with its top-left corner at `origin`.
    static void paint(QPainter& painter, QPointF origin, const DemoFrame& frame, bool edit, const QPalette& palette);
};

} // namespace lumeno
