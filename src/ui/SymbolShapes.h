#pragma once

#include <QHash>
#include <QPainterPath>
#include <QString>

#include <functional>

namespace lumeno {

// The outlines of every named symbol on a 24-unit grid, as filled paths: line work is turned into outlines
// with the given pen, and filled symbols have their inner marks cut out, so one fill draws any symbol.
struct SymbolShapes {
    struct Pen {
        qreal width; // grid units
    };
    using Shape = std::function<QPainterPath(const Pen&)>;

    static const QHash<QString, Shape>& all();
};

} // namespace lumeno
