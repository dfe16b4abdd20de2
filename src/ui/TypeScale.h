#pragma once

#include <QFont>

namespace lumeno {

// Fonts by size. A size is in device-independent pixels of the application's own font, so every window
// follows the desktop's font family while keeping the sizes the layouts are designed around.
struct TypeScale {
    static QFont font(qreal pixelSize, QFont::Weight weight = QFont::Normal);
    // Section headlines and small captions.
    static QFont headline() { return font(13, QFont::Bold); }
    static QFont caption(QFont::Weight weight = QFont::Normal) { return font(10, weight); }
    static QFont monospaced(qreal pixelSize);
};

} // namespace lumeno
