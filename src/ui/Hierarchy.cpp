#include "ui/Hierarchy.h"

#include <QWidget>

namespace lumeno {

QColor hierarchicalColor(const QPalette& palette, Hierarchy level) {
    QColor color = palette.color(QPalette::WindowText);
    switch (level) {
    case Hierarchy::primary: color.setAlphaF(0.85f); break;
    case Hierarchy::secondary: color.setAlphaF(0.50f); break;
    case Hierarchy::tertiary: color.setAlphaF(0.26f); break;
    case Hierarchy::quaternary: color.setAlphaF(0.10f); break;
    }
    return color;
}

void setTextHierarchy(QWidget& widget, Hierarchy level) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, hierarchicalColor(palette, level));
    widget.setPalette(palette);
}

} // namespace lumeno
