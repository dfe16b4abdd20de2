#pragma once

#include <QImage>
#include <QMargins>
#include <QPalette>
#include <QRect>

class QPainter;

namespace lumeno {

// The background of a floating panel: a rounded sheet with a hairline edge and a soft shadow beneath.
// The shadow needs room around the sheet: `shadowMargins()`.
class GlassBackground {
public:
    static QMargins shadowMargins();

    // The glass look: the palette's base colour, slightly translucent.
    static QColor glassFill(const QPalette& palette);

    // Paints the sheet in `sheet` filled with `fill`, with its shadow around it; `painter` must have room
    // for the margins.
    void paint(QPainter& painter, const QRect& sheet, qreal radius, const QColor& fill, const QPalette& palette);

private:
    const QImage& shadowFor(QSize sheet, qreal radius);

    QImage shadow_;
    QSize shadowSheet_;
    qreal shadowRadius_ = -1;
};

} // namespace lumeno
