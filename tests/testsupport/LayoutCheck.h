#pragma once

#include <QAbstractScrollArea>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

namespace lumeno::testing {

namespace layoutcheck {

inline QString describe(const QWidget& widget) {
    QString name = QString::fromLatin1(widget.metaObject()->className());
    if (!widget.objectName().isEmpty())
        name += QStringLiteral(" \"%1\"").arg(widget.objectName());
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        name += QStringLiteral(" (%1)").arg(label->text().left(60));
    return name;
}

// The scroll area whose viewport holds `widget`, if any.
inline const QAbstractScrollArea* scrollAreaAround(const QWidget& widget) {
    for (const QWidget* up = widget.parentWidget(); up && !up->isWindow(); up = up->parentWidget())
        if (const auto* area = qobject_cast<const QAbstractScrollArea*>(up->parentWidget());
            area && area->viewport() == up)
            return area;
    return nullptr;
}

inline void checkLabel(const QLabel& label) {
    if (label.text().isEmpty() || label.text().contains(QChar(0x2026)))
        return; // nothing to cut, or cut on purpose with "…"
    const QSize hint = label.sizeHint();
    if (label.wordWrap()) {
        EXPECT_GE(label.height(), label.heightForWidth(label.width()))
            << describe(label).toStdString() << " is cut off at the bottom: " << label.width() << "×"
            << label.height();
        return;
    }
    EXPECT_TRUE(label.width() >= hint.width() && label.height() >= hint.height())
        << describe(label).toStdString() << " is cut off: " << label.width() << "×" << label.height() << " for "
        << hint.width() << "×" << hint.height();
}

// Inside its window, and inside the viewport of a scroll area in each direction the area does not scroll.
inline void checkPlace(const QWidget& widget, const QWidget& window) {
    if (const QAbstractScrollArea* area = scrollAreaAround(widget)) {
        const QWidget* viewport = area->viewport();
        const QRect inViewport(widget.mapTo(viewport, QPoint(0, 0)), widget.size());
        if (area->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) {
            EXPECT_TRUE(inViewport.left() >= 0 && inViewport.right() < viewport->width())
                << describe(widget).toStdString() << " reaches sideways past the visible part of its scroll area: "
                << inViewport.left() << ".." << inViewport.right() << " of " << viewport->width();
        }
        return;
    }
    const QRect inWindow(widget.mapTo(&window, QPoint(0, 0)), widget.size());
    EXPECT_TRUE(window.rect().contains(inWindow))
        << describe(widget).toStdString() << " reaches past its window: " << inWindow.x() << "," << inWindow.y()
        << " " << inWindow.width() << "×" << inWindow.height() << " in " << window.width() << "×" << window.height();
}

} // namespace layoutcheck

// What every picture of a window or panel must hold: no label is cut short (it is as tall as its text
// needs at its width, as wide as a single line needs, or it ends its text with "…"), and no widget reaches
// past its window, or sideways past a scroll area that does not scroll sideways.
inline void expectNothingClipped(QWidget& root) {
    const QWidget& window = *root.window();
    for (QWidget* widget : root.findChildren<QWidget*>()) {
        if (widget->window() != &window || !widget->isVisibleTo(&root))
            continue;
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            layoutcheck::checkLabel(*label);
        layoutcheck::checkPlace(*widget, window);
    }
}

} // namespace lumeno::testing
