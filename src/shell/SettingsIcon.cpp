#include "shell/SettingsIcon.h"

#include "ui/Symbol.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace lumeno {

namespace {
constexpr qreal tileSide = 22;
constexpr qreal cornerRadius = 5;
constexpr qreal symbolSide = 13;
} // namespace

SettingsIcon::SettingsIcon(const QString& symbol, const QColor& color, QWidget* parent)
    : QWidget(parent), symbol_(symbol), color_(color) {
    setFixedSize(int(tileSide), int(tileSide));
}

void SettingsIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(0, 0, tileSide, tileSide);
    QLinearGradient gradient(tile.topLeft(), tile.bottomLeft());
    gradient.setColorAt(0, color_.lighter(118));
    gradient.setColorAt(1, color_.darker(108));
    QPainterPath shape;
    shape.addRoundedRect(tile, cornerRadius, cornerRadius);
    painter.fillPath(shape, gradient);
    const qreal inset = (tileSide - symbolSide) / 2;
    Symbol::paint(painter, symbol_, tile.adjusted(inset, inset, -inset, -inset), Qt::white, QFont::DemiBold);
}

} // namespace lumeno
