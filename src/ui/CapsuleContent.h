#pragma once

#include "ui/Ink.h"

#include <QFont>
#include <QMargins>
#include <QRect>
#include <QString>

class QPainter;

namespace lumeno {

// A symbol beside a one-line text, on a capsule: the look of badges, tags and chips. Measuring and
// painting live here so labels and buttons draw it alike.
struct CapsuleStyle {
    qreal fontSize = 11;
    QFont::Weight weight = QFont::Medium;
    Ink foreground = Ink::of(Hierarchy::secondary);
    Ink fill = Ink::of(Hierarchy::quaternary);
    QMargins padding{7, 3, 7, 3};
    int maxContentWidth = 0; // symbol and text together; 0: as wide as the text needs
    bool operator==(const CapsuleStyle&) const = default;
};

struct CapsuleContent {
    QString text;
    QString symbol; // empty: text only
    CapsuleStyle style;

    QSize sizeHint() const;
    // The text as drawn: cut at its end with "…" when wider than the content may be.
    QString shownText() const;
    void paint(QPainter& painter, const QRect& rect, const QPalette& palette, qreal fillOpacity = 1.0) const;

    bool operator==(const CapsuleContent&) const = default;

private:
    QFont font() const;
    int symbolSide() const;
    int contentWidth() const;
};

} // namespace lumeno
