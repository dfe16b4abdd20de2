#pragma once

#include <QColor>
#include <QPalette>

namespace lumeno {

// Named colours with a meaning: the accent marks what is active, green what succeeded, orange a warning.
// Green and orange are tuned to read on both light and dark backgrounds.
struct Tint {
    static QColor accent(const QPalette& palette) { return palette.color(QPalette::Highlight); }
    // White or black, whichever reads better on the accent.
    static QColor onAccent(const QPalette& palette) { return palette.color(QPalette::HighlightedText); }
    static QColor green() { return QColor(0x28, 0xb4, 0x4e); }
    static QColor orange() { return QColor(0xf5, 0x8a, 0x00); }
};

} // namespace lumeno
