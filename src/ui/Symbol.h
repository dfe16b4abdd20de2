#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QStringList>

class QPainter;

namespace lumeno {

// Named symbols ("xmark", "info.circle", "checkmark.circle.fill"...) drawn from our own vector paths, so
// no icon theme is needed and every symbol takes any tint and stays crisp from 9 to 22 pixels. Each is
// designed on a 24-unit grid; line symbols get heavier with the weight, as text does.
class Symbol {
public:
    static bool exists(const QString& name);
    static QStringList names();

    // Draws `name` centred in the largest square that fits `box`, in `color`. An unknown name draws nothing.
    static void paint(QPainter& painter, const QString& name, const QRectF& box, const QColor& color,
                      QFont::Weight weight = QFont::Normal);

    // The side of the square a symbol takes beside text of `fontPixelSize`.
    static int sideFor(qreal fontPixelSize);
};

} // namespace lumeno
