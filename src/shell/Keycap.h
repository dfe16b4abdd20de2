#pragma once

#include "shell/KeySpot.h"

#include <QPalette>
#include <QRectF>

class QPainter;

namespace lumeno {

// One drawn key: a face on a darker base, sinking onto the base as it is pressed. Modifier keys carry their
// symbol in the top right corner and their name in the bottom left, as printed on real keycaps.
struct Keycap {
    KeySpot spot;
    QString label;
    bool emphasized = false;
    double pressed = 0; // 0 up to 1 fully down, so the press can be eased
    double unit = 44;   // points per key unit

    // The word printed on a modifier key ("control", "option", "command", "shift"); empty for other keys.
    static QString modifierName(const KeySpot& spot);
    // What a screen reader says for the key.
    static QString accessibleName(const KeySpot& spot, const QString& label);

    // Paints the key in `frame`; the base shows below it, so leave 2 points of room under the frame.
    void paint(QPainter& painter, const QRectF& frame, const QPalette& palette) const;
};

} // namespace lumeno
