#include "overlay/LevelBars.h"

#include "ui/Ink.h"

#include <QPainter>
#include <QPainterPath>

namespace lumeno {

namespace {

constexpr double barWidth = 3;
constexpr double barSpacing = 2.5;

double heightFor(float level, double weight) {
    return 4 + 16 * double(level) * weight;
}

double easeOut(double t) {
    return 1 - (1 - t) * (1 - t);
}

} // namespace

LevelBars::LevelBars(AnimationClock clock, QWidget* parent) : QWidget(parent), ticker_(clock) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    shown_ = targetHeights();
}

std::array<double, 7> LevelBars::targetHeights() const {
    std::array<double, 7> heights;
    for (size_t i = 0; i < weights.size(); ++i)
        heights[i] = heightFor(level_, weights[i]);
    return heights;
}

void LevelBars::setLevel(float level) {
    if (level == level_)
        return;
    level_ = level;
    const std::array<double, 7> from = shown_, to = targetHeights();
    ticker_.start([this, from, to](double elapsed) {
        const double t = std::min(elapsed / glideSeconds, 1.0);
        for (size_t i = 0; i < shown_.size(); ++i)
            shown_[i] = from[i] + (to[i] - from[i]) * easeOut(t);
        update();
        return t < 1.0;
    });
}

void LevelBars::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor accent = Ink::accent().resolve(palette());
    const double totalWidth = weights.size() * barWidth + (weights.size() - 1) * barSpacing;
    double x = (width() - totalWidth) / 2;
    for (double barHeight : shown_) {
        QPainterPath bar;
        bar.addRoundedRect(QRectF(x, (height() - barHeight) / 2, barWidth, barHeight), barWidth / 2, barWidth / 2);
        painter.fillPath(bar, accent);
        x += barWidth + barSpacing;
    }
}

} // namespace lumeno
