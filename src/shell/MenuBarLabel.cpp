#include "shell/MenuBarLabel.h"

#include "ui/Symbol.h"
#include "ui/Tint.h"
#include "ui/TypeScale.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace lumeno {

namespace {

const QString replySymbol = QStringLiteral("arrowshape.turn.up.left");

// A warning is a badge on the program's own reply arrow: a new user must still tell whose icon it is.
bool warns(const MenuBarLabel::State& state) {
    return !state.paused && state.needsAttention;
}

// The tile keeps the symbol readable on light and dark panels alike.
QColor tileColor(const MenuBarLabel::State& state) {
    return state.paused ? QColor(0x7a, 0x80, 0x89) : QColor(0x2f, 0x7c, 0xf6);
}

// The warning triangle over the bottom right corner, ringed in white so it stands apart from the tile.
void paintWarningBadge(QPainter& painter, int side) {
    const QRectF badge(side * 0.42, side * 0.42, side * 0.58, side * 0.58);
    const qreal ring = side * 0.07;
    Symbol::paint(painter, QStringLiteral("exclamationmark.triangle.fill"), badge.adjusted(-ring, -ring, ring, ring),
                  Qt::white, QFont::Bold);
    Symbol::paint(painter, QStringLiteral("exclamationmark.triangle.fill"), badge, Tint::orange(), QFont::Bold);
}

} // namespace

QString MenuBarLabel::symbol(const State& state) {
    if (state.paused)
        return QStringLiteral("pause.circle");
    if (state.needsAttention)
        return QStringLiteral("exclamationmark.triangle");
    return replySymbol;
}

QString MenuBarLabel::toolTip(const QString& statusLine) {
    return QStringLiteral("Lumeno: ") + statusLine;
}

QString MenuBarLabel::badge(const State& state) {
    if (state.dueCount <= 0 || state.needsAttention)
        return {};
    return QString::number(state.dueCount);
}

QImage MenuBarLabel::image(const State& state, int side, qreal devicePixelRatio) {
    QImage image(QSize(side, side) * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile = QRectF(0, 0, side, side).adjusted(side * 0.04, side * 0.04, -side * 0.04, -side * 0.04);
    QPainterPath shape;
    shape.addRoundedRect(tile, side * 0.22, side * 0.22);
    painter.fillPath(shape, tileColor(state));
    const qreal inset = side * 0.18;
    Symbol::paint(painter, warns(state) ? replySymbol : symbol(state), tile.adjusted(inset, inset, -inset, -inset),
                  Qt::white, QFont::DemiBold);
    if (warns(state))
        paintWarningBadge(painter, side);

    const QString count = badge(state);
    if (count.isEmpty())
        return image;
    QFont font = TypeScale::font(side * 0.42, QFont::Bold);
    const qreal height = side * 0.52;
    const qreal width = std::max(height, QFontMetricsF(font).horizontalAdvance(count) + side * 0.18);
    const QRectF badgeRect(side - width, 0, width, height);
    painter.setPen(QPen(Qt::white, std::max(1.0, side / 24.0)));
    painter.setBrush(QColor(0xe5, 0x39, 0x35));
    painter.drawRoundedRect(badgeRect, height / 2, height / 2);
    painter.setFont(font);
    painter.drawText(badgeRect, Qt::AlignCenter, count);
    return image;
}

QIcon MenuBarLabel::icon(const State& state) {
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(image(state, side)));
    return icon;
}

} // namespace lumeno
