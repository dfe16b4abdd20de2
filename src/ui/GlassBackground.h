#pragma once

#include <QImage>
#include <QMargins>
#include <QPalette>
#include <QRect>
#include <QRegion>

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

    // Where nothing blends a window with what lies beneath it: the rounded sheet as whole pixels, the
    // window's shape, and the sheet painted opaque inside it, without a shadow.
    static QRegion sheetRegion(const QRect& sheet, qreal radius);
    static void paintOpaque(QPainter& painter, const QRect& sheet, qreal radius, QColor fill, const QPalette& palette);

private:
    const QImage& shadowFor(QSize sheet, qreal radius);

    QImage shadow_;
    QSize shadowSheet_;
    qreal shadowRadius_ = -1;
};

} // namespace lumeno
