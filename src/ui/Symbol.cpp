#include "ui/Symbol.h"

#include "ui/SymbolShapes.h"

#include <QPainter>
#include <QPainterPathStroker>

#include <cmath>

namespace lumeno {

namespace {

constexpr qreal gridSize = 24.0;

// Stroke width in grid units: heavier weights draw heavier lines, and small sizes never fall below about
// one device pixel, where a line would blur away.
qreal strokeWidth(QFont::Weight weight, qreal scale) {
    const qreal byWeight = weight >= QFont::Bold       ? 2.6
                         : weight >= QFont::DemiBold   ? 2.3
                         : weight >= QFont::Medium     ? 2.1
                                                       : 1.9;
    return std::max(byWeight, 1.05 / scale);
}

} // namespace

bool Symbol::exists(const QString& name) {
    return SymbolShapes::all().contains(name);
}

QStringList Symbol::names() {
    return SymbolShapes::all().keys();
}

void Symbol::paint(QPainter& painter, const QString& name, const QRectF& box, const QColor& color,
                   QFont::Weight weight) {
    const auto shape = SymbolShapes::all().constFind(name);
    if (shape == SymbolShapes::all().constEnd() || box.isEmpty())
        return;
    const qreal side = std::min(box.width(), box.height());
    const qreal scale = side / gridSize;

    const SymbolShapes::Pen pen{strokeWidth(weight, scale)};
    const QPainterPath path = (*shape)(pen);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    painter.scale(scale, scale);
    painter.fillPath(path, color);
    painter.restore();
}

int Symbol::sideFor(qreal fontPixelSize) {
    return int(std::ceil(fontPixelSize * 1.15));
}

} // namespace lumeno
