#include "overlay/OverlayLayout.h"

#include <algorithm>
#include <cmath>

namespace lumeno {

namespace {

const QRect fallbackScreen(0, 0, 1440, 900);

// Centred on the area, then kept `margin` clear of the left edge and then of the right one.
double centredX(const BottomLeftRect& visible, double width, double margin) {
    double x = std::round(visible.midX() - width / 2);
    x = std::max(x, visible.minX() + margin);
    return std::min(x, visible.maxX() - margin - width);
}

} // namespace

QRect OverlayLayout::WorkArea::toWindow(const BottomLeftRect& frame) const {
    const QRectF rect = frame.toTopLeft(flipHeight);
    return QRect(qRound(rect.x()), qRound(rect.y()), qRound(rect.width()), qRound(rect.height()));
}

OverlayLayout::WorkArea OverlayLayout::workArea(const ScreenInfo& screens) {
    const std::vector<ScreenInfo::Screen> all = screens.screens();
    const double flipHeight = all.empty() ? fallbackScreen.height() : all.front().frame.y() + all.front().frame.height();
    const QPoint pointer = screens.pointer();

    QRect visible = fallbackScreen;
    const auto underPointer =
        std::find_if(all.begin(), all.end(), [&](const ScreenInfo::Screen& s) { return s.frame.contains(pointer); });
    if (underPointer != all.end())
        visible = underPointer->visibleFrame;
    else if (const auto main = screens.mainScreen())
        visible = main->visibleFrame;
    return {BottomLeftRect::fromTopLeft(visible, flipHeight), flipHeight};
}

OverlayLayout::CapturePlacement OverlayLayout::capturePanel(const BottomLeftRect& visible, QSizeF measured) {
    const double maxWidth = std::max(visible.width - 56, 220.0);
    const double width = std::min(std::min(std::max(std::ceil(measured.width()), 180.0), maxWidth) + 4, maxWidth);
    const double height = std::max(std::ceil(measured.height()), 48.0) + 2;
    return {{centredX(visible, width, 28), visible.minY() + 36, width, height}, std::min(height / 2, 22.0)};
}

BottomLeftRect OverlayLayout::debugPanel(const BottomLeftRect& visible) {
    const double width = std::min(visible.width - 48, 460.0);
    const double height = std::min(visible.height * 0.42, 400.0);
    return {centredX(visible, width, 16), visible.maxY() - height - 10, width, height};
}

} // namespace lumeno
