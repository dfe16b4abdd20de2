#include "shell/PageDots.h"

#include "ui/Hierarchy.h"

#include <QPainter>

namespace lumeno {

namespace {

constexpr int dot = 6;
constexpr int spacing = 6;

} // namespace

PageDots::PageDots(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setPages(1, 0);
}

void PageDots::setPages(int count, int current) {
    count_ = count;
    current_ = current;
    setAccessibleName(QStringLiteral("%1 of %2").arg(current + 1).arg(count));
    updateGeometry();
    update();
}

QSize PageDots::sizeHint() const {
    return {count_ * dot + (count_ - 1) * spacing, dot};
}

void PageDots::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    QColor ink = hierarchicalColor(palette(), Hierarchy::primary).toRgb();
    const qreal y = (height() - dot) / 2.0;
    for (int i = 0; i < count_; ++i) {
        ink.setAlphaF(i == current_ ? 0.7 : 0.18);
        painter.setBrush(ink);
        painter.drawEllipse(QRectF(i * (dot + spacing), y, dot, dot));
    }
}

} // namespace lumeno
