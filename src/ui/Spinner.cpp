#include "ui/Spinner.h"

#include "ui/Ink.h"

#include <QPainter>

#include <cmath>

namespace lumeno {

namespace {

constexpr int spokes = 12;
constexpr double turnSeconds = 1.0;

} // namespace

Spinner::Spinner(AnimationClock clock, int side, QWidget* parent) : QWidget(parent), ticker_(clock), side_(side) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void Spinner::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ticker_.start([this](double elapsed) {
        const int spoke = int(std::fmod(elapsed, turnSeconds) / turnSeconds * spokes);
        if (spoke != leadingSpoke_) {
            leadingSpoke_ = spoke;
            update();
        }
        return true;
    });
}

void Spinner::hideEvent(QHideEvent* event) {
    ticker_.stop();
    QWidget::hideEvent(event);
}

void Spinner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    const QColor ink = Ink::of(Hierarchy::primary).resolve(palette());
    const qreal outer = side / 2.0 - 0.5;
    const qreal inner = outer * 0.5;
    const qreal thickness = std::max(1.4, side / 9.0);
    for (int i = 0; i < spokes; ++i) {
        // Spokes behind the leading one fade, as if trailing it.
        const int behind = (leadingSpoke_ - i + spokes) % spokes;
        QColor spoke = ink;
        spoke.setAlphaF(float(ink.alphaF() * (1.0 - behind * 0.07)));
        painter.save();
        painter.rotate(i * 360.0 / spokes);
        painter.setPen(QPen(spoke, thickness, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, -inner), QPointF(0, -outer + thickness / 2));
        painter.restore();
    }
}

} // namespace lumeno
