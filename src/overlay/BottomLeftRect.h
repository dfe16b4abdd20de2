#pragma once

#include <QRectF>

namespace lumeno {

// A rectangle in placement coordinates: origin at the bottom left, y growing upwards, so "36 points above
// the bottom of the screen" is y = minY + 36. Converted from and to Qt's top-left coordinates by flipping
// about one fixed height (the primary screen's), the same in both directions.
struct BottomLeftRect {
    double x = 0, y = 0, width = 0, height = 0;

    double minX() const { return x; }
    double maxX() const { return x + width; }
    double midX() const { return x + width / 2; }
    double minY() const { return y; }
    double maxY() const { return y + height; }

    static BottomLeftRect fromTopLeft(const QRectF& rect, double flipHeight) {
        return {rect.x(), flipHeight - rect.y() - rect.height(), rect.width(), rect.height()};
    }
    QRectF toTopLeft(double flipHeight) const { return {x, flipHeight - y - height, width, height}; }

    bool operator==(const BottomLeftRect&) const = default;
};

} // namespace lumeno
