#include "ui/CapsuleContent.h"

#include "support/Text.h"

#include "ui/Symbol.h"
#include "ui/TypeScale.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace lumeno {

namespace {

constexpr int symbolGap = 4;

} // namespace

QFont CapsuleContent::font() const {
    return TypeScale::font(style.fontSize, style.weight);
}

int CapsuleContent::symbolSide() const {
    return symbol.isEmpty() ? 0 : Symbol::sideFor(style.fontSize);
}

int CapsuleContent::contentWidth() const {
    const int symbolPart = symbol.isEmpty() ? 0 : symbolSide() + symbolGap;
    const int natural = symbolPart + int(std::ceil(QFontMetricsF(font()).horizontalAdvance(Text::oneLine(text))));
    return style.maxContentWidth > 0 ? std::min(natural, style.maxContentWidth) : natural;
}

QString CapsuleContent::shownText() const {
    const int symbolPart = symbol.isEmpty() ? 0 : symbolSide() + symbolGap;
    return QFontMetricsF(font()).elidedText(Text::oneLine(text), Qt::ElideRight, contentWidth() - symbolPart);
}

QSize CapsuleContent::sizeHint() const {
    const int lineHeight = int(std::ceil(QFontMetricsF(font()).height()));
    return {contentWidth() + style.padding.left() + style.padding.right(),
            std::max(lineHeight, symbolSide()) + style.padding.top() + style.padding.bottom()};
}

void CapsuleContent::paint(QPainter& painter, const QRect& rect, const QPalette& palette, qreal fillOpacity) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF capsule = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    painter.fillPath(shape, scaledAlpha(style.fill.resolve(palette), fillOpacity));

    const QRect content = rect.marginsRemoved(style.padding);
    const QColor ink = style.foreground.resolve(palette);
    int x = content.left();
    if (!symbol.isEmpty()) {
        const int side = symbolSide();
        Symbol::paint(painter, symbol, QRectF(x, content.center().y() + 0.5 - side / 2.0, side, side), ink,
                      style.weight);
        x += side + symbolGap;
    }
    painter.setFont(font());
    painter.setPen(ink);
    painter.drawText(QRect(x, content.top(), content.right() + 1 - x, content.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shownText());
    painter.restore();
}

} // namespace lumeno
