#include "ui/Ink.h"

#include "ui/Tint.h"

#include <algorithm>

namespace lumeno {

QColor Ink::resolve(const QPalette& palette) const {
    if (const auto* level = std::get_if<Hierarchy>(&value_))
        return hierarchicalColor(palette, *level);
    if (const auto* color = std::get_if<QColor>(&value_))
        return *color;
    return std::get<Role>(value_) == Role::accent ? Tint::accent(palette) : Tint::onAccent(palette);
}

QColor scaledAlpha(QColor color, qreal factor) {
    color.setAlphaF(float(std::min(1.0, color.alphaF() * factor)));
    return color;
}

} // namespace lumeno
