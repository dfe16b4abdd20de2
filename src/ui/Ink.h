#pragma once

#include "ui/Hierarchy.h"

#include <QColor>
#include <QPalette>

#include <variant>

namespace lumeno {

// What a piece of a view is drawn in: a level of the hierarchy, the accent (or the colour that reads on
// it), or a fixed colour. Resolved against the palette at paint time, so a palette change just repaints.
class Ink {
public:
    static Ink of(Hierarchy level) { return Ink(level); }
    static Ink fixed(const QColor& color) { return Ink(color); }
    static Ink accent() { return Ink(Role::accent); }
    static Ink onAccent() { return Ink(Role::onAccent); }
    static Ink none() { return Ink(QColor(Qt::transparent)); }

    QColor resolve(const QPalette& palette) const;

    bool operator==(const Ink&) const = default;

private:
    enum class Role { accent, onAccent };
    explicit Ink(std::variant<Hierarchy, QColor, Role> value) : value_(value) {}

    std::variant<Hierarchy, QColor, Role> value_;
};

// `color` with its opacity multiplied by `factor` (capped at opaque): hover and pressed states.
QColor scaledAlpha(QColor color, qreal factor);

} // namespace lumeno
