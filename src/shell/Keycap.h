#pragma once

#include "shell/KeySpot.h"

#include <QPalette>
#include <QRectF>

class QPainter;

namespace lumeno {

// One drawn key: a face on a darker base, sinking onto the base as it is pressed. Modifier keys carry their
// word in the bottom left corner, as printed on PC keycaps; letters sit in the middle.
struct Keycap {
    KeySpot spot;
    QString label;
    bool emphasized = false;
    double pressed = 0; // 0 up to 1 fully down, so the press can be eased
    double unit = 44;   // points per key unit

    // Whether the key is one of the bottom row's modifiers or a Shift key.
    static bool isModifier(const KeySpot& spot);
    // What a screen reader says for a key with this label: the label itself, "Space" for the bare bar.
    static QString accessibleName(const QString& label);

    // Paints the key in `frame`; the base shows below it, so leave 2 points of room under the frame.
    void paint(QPainter& painter, const QRectF& frame, const QPalette& palette) const;
};

} // namespace lumeno
