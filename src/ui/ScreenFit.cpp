#include "ui/ScreenFit.h"

#include "platform/ScreenInfo.h"

#include <QWidget>

#include <algorithm>
#include <optional>

namespace lumeno::ScreenFit {

namespace {

// The frame a window manager draws around a window it has not shown yet: a title bar.
constexpr QSize unknownFrame{0, 32};

QSize frameAround(const QWidget& window) {
    const QSize frame = window.frameGeometry().size() - window.size();
    return frame == QSize(0, 0) ? unknownFrame : frame;
}

std::optional<QRect> freeArea(const QWidget& window, const ScreenInfo& screens) {
    const QPoint middle = window.frameGeometry().center();
    for (const ScreenInfo::Screen& screen : screens.screens())
        if (screen.frame.contains(middle))
            return screen.visibleFrame;
    if (const std::optional<ScreenInfo::Screen> main = screens.mainScreen())
        return main->visibleFrame;
    return std::nullopt;
}

} // namespace

QSize room(const QWidget& window, const ScreenInfo& screens) {
    const std::optional<QRect> area = freeArea(window, screens);
    return area ? (area->size() - frameAround(window)).expandedTo(QSize(0, 0)) : QSize();
}

void keepOnScreen(QWidget& window, const ScreenInfo& screens) {
    const std::optional<QRect> area = freeArea(window, screens);
    if (!area)
        return;
    const QSize frame = window.size() + frameAround(window);
    const QPoint at = window.frameGeometry().topLeft();
    const int x = std::max(area->left(), std::min(at.x(), area->left() + area->width() - frame.width()));
    const int y = std::max(area->top(), std::min(at.y(), area->top() + area->height() - frame.height()));
    if (QPoint(x, y) != at)
        window.move(x, y);
}

void placeSideBySide(QWidget& left, QWidget& right, const ScreenInfo& screens) {
    const std::optional<ScreenInfo::Screen> main = screens.mainScreen();
    if (!main)
        return;
    constexpr int gap = 16;
    const QRect area = main->visibleFrame;
    const QSize leftFrame = left.size() + frameAround(left), rightFrame = right.size() + frameAround(right);
    const int width = leftFrame.width() + gap + rightFrame.width();
    const int x = std::max(area.left(), area.left() + (area.width() - width) / 2);
    const int y = std::max(area.top(), area.top() + (area.height() - std::max(leftFrame.height(), rightFrame.height())) / 2);
    left.move(x, y);
    right.move(std::min(x + leftFrame.width() + gap, area.left() + area.width() - rightFrame.width()), y);
}

} // namespace lumeno::ScreenFit
