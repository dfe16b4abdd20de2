#include "ui/ActionButton.h"

#include "ui/Ink.h"
#include "ui/TypeScale.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace lumeno {

namespace {

constexpr int buttonHeight = 22;
constexpr int sidePadding = 10;

} // namespace

ActionButton::ActionButton(const QString& title, Look look, QWidget* parent) : QAbstractButton(parent), look_(look) {
    setText(title);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

QFont ActionButton::titleFont() const {
    return TypeScale::font(12, look_ == Look::prominent ? QFont::DemiBold : QFont::Medium);
}

QSize ActionButton::sizeHint() const {
    const int textWidth = int(std::ceil(QFontMetricsF(titleFont()).horizontalAdvance(text())));
    return {textWidth + 2 * sidePadding, buttonHeight};
}

void ActionButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath capsule;
    capsule.addRoundedRect(shape, shape.height() / 2, shape.height() / 2);

    const bool prominent = look_ == Look::prominent;
    QColor fill = prominent ? Ink::accent().resolve(palette()) : Ink::of(Hierarchy::quaternary).resolve(palette());
    if (isDown())
        fill = prominent ? fill.darker(118) : scaledAlpha(fill, 2.2);
    else if (underMouse())
        fill = prominent ? fill.lighter(108) : scaledAlpha(fill, 1.6);
    painter.fillPath(capsule, fill);
    if (!prominent) {
        painter.setPen(QPen(Ink::of(Hierarchy::quaternary).resolve(palette()), 1));
        painter.drawPath(capsule);
    }

    painter.setFont(titleFont());
    painter.setPen(prominent ? Ink::onAccent().resolve(palette()) : Ink::of(Hierarchy::primary).resolve(palette()));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
}

} // namespace lumeno
