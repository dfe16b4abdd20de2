#pragma once

#include <QColor>
#include <QPalette>

namespace lumeno {

// The four levels of emphasis every window draws text, symbols and quiet fills in. Each level is the
// palette's text colour at a fixed opacity, so it follows light and dark palettes alike.
enum class Hierarchy { primary, secondary, tertiary, quaternary };

QColor hierarchicalColor(const QPalette& palette, Hierarchy level);

} // namespace lumeno
