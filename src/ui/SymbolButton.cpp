#include "ui/SymbolButton.h"

#include "ui/Symbol.h"

#include <QPainter>

namespace lumeno {

SymbolButton::SymbolButton(Look look, QWidget* parent) : QAbstractButton(parent), look_(std::move(look)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

QSize SymbolButton::sizeHint() const {
    const int side = look_.side > 0 ? look_.side : Symbol::sideFor(look_.fontSize);
    return {side, side};
}

void SymbolButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool active = isDown() || underMouse();
    if (look_.circleFill) {
        const QColor fill = look_.circleFill->resolve(palette());
        painter.setPen(Qt::NoPen);
        painter.setBrush(active ? scaledAlpha(fill, isDown() ? 2.6 : 1.8) : fill);
        painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    const QColor ink = active && !look_.circleFill ? scaledAlpha(look_.ink.resolve(palette()), 1.5)
                                                   : look_.ink.resolve(palette());
    const int symbolSide = Symbol::sideFor(look_.fontSize);
    const QRectF box(QPointF(0, 0), QSizeF(symbolSide, symbolSide));
    Symbol::paint(painter, look_.symbol, box.translated(QRectF(rect()).center() - box.center()), ink, look_.weight);
}

} // namespace lumeno
