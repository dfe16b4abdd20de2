#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace lumeno {

// The four levels of emphasis every window draws text, symbols and quiet fills in. Each level is the
// palette's text colour at a fixed opacity, so it follows light and dark palettes alike.
enum class Hierarchy { primary, secondary, tertiary, quaternary };

QColor hierarchicalColor(const QPalette& palette, Hierarchy level);

// Draws `widget`'s text at `level` (its window-text colour taken from its current palette).
void setTextHierarchy(QWidget& widget, Hierarchy level);

} // namespace lumeno
