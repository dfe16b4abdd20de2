#include "ui/SymbolShapes.h"

#include <QLineF>
#include <QPainterPathStroker>

#include <initializer_list>

namespace lumeno {

namespace {

using Pen = SymbolShapes::Pen;

// The filled outline of line work drawn with round ends and joins.
QPainterPath outline(const QPainterPath& lines, qreal width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(lines).simplified();
}

QPainterPath outline(const QPainterPath& lines, const Pen& pen) {
    return outline(lines, pen.width);
}

QPainterPath unite(std::initializer_list<QPainterPath> parts) {
    QPainterPath result;
    result.setFillRule(Qt::WindingFill);
    for (const QPainterPath& part : parts)
        result = result.united(part);
    return result;
}

QPainterPath line(QPointF from, QPointF to) {
    QPainterPath path;
    path.moveTo(from);
    path.lineTo(to);
    return path;
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (QPointF point : points) {
        if (first)
            path.moveTo(point);
        else
            path.lineTo(point);
        first = false;
    }
    return path;
}

QPainterPath circle(QPointF centre, qreal radius) {
    QPainterPath path;
    path.addEllipse(centre, radius, radius);
    return path;
}

QPainterPath ring(QPointF centre, qreal radius, const Pen& pen) {
    return outline(circle(centre, radius), pen);
}

// The letter "i": a dot over a stem.
QPainterPath infoMark(qreal stemWidth) {
    return unite({circle({12, 7.4}, stemWidth * 0.72), outline(line({12, 11}, {12, 17}), stemWidth)});
}

QPainterPath checkStroke() {
    return polyline({{6.6, 12.4}, {10.4, 16.2}, {17.4, 8.2}});
}

// Head and shoulders inside a circle of `radius` around `centre`.
QPainterPath personInCircle(QPointF centre, qreal radius, const Pen& pen) {
    const qreal k = radius / 9.5;
    const QPointF head = centre + QPointF(0, -2.9 * k);
    QPainterPath shoulders;
    shoulders.moveTo(centre + QPointF(-6.0 * k, 6.9 * k));
    shoulders.cubicTo(centre + QPointF(-4.8 * k, 3.9 * k), centre + QPointF(-2.6 * k, 3.1 * k),
                      centre + QPointF(0, 3.1 * k));
    shoulders.cubicTo(centre + QPointF(2.6 * k, 3.1 * k), centre + QPointF(4.8 * k, 3.9 * k),
                      centre + QPointF(6.0 * k, 6.9 * k));
    return unite({ring(centre, radius, pen), ring(head, 3.0 * k, pen), outline(shoulders, pen)});
}

QPainterPath textLines(std::initializer_list<std::pair<qreal, qreal>> rows, qreal left, const Pen& pen) {
    QPainterPath lines;
    for (auto [y, right] : rows)
        lines.addPath(line({left, y}, {right, y}));
    return outline(lines, pen);
}

QPainterPath xmark() {
    QPainterPath cross = line({6.5, 6.5}, {17.5, 17.5});
    cross.addPath(line({17.5, 6.5}, {6.5, 17.5}));
    return cross;
}

QPainterPath pencil(const Pen& pen) {
    QPainterPath body;
    body.moveTo(4.2, 19.8);
    body.lineTo(5.3, 15.3);
    body.lineTo(15.6, 5.0);
    body.lineTo(19.0, 8.4);
    body.lineTo(8.7, 18.7);
    body.closeSubpath();
    return unite({outline(body, pen), outline(line({13.4, 7.2}, {16.8, 10.6}), pen)});
}

QPainterPath pin(const Pen& pen) {
    QPainterPath head;
    head.moveTo(8.5, 3.2);
    head.lineTo(15.5, 3.2);
    head.moveTo(14.6, 3.2);
    head.lineTo(14.6, 8.6);
    head.lineTo(17.4, 13.2);
    head.lineTo(6.6, 13.2);
    head.lineTo(9.4, 8.6);
    head.lineTo(9.4, 3.2);
    return unite({outline(head, pen), outline(line({12, 13.2}, {12, 20.8}), pen)});
}

QPainterPath at(const Pen& pen) {
    QPainterPath tail;
    tail.moveTo(15.6, 8.6);
    tail.lineTo(15.6, 13.6);
    tail.cubicTo(15.6, 15.6, 16.6, 16.6, 18.0, 16.6);
    tail.cubicTo(19.6, 16.6, 20.6, 14.8, 20.6, 12.0);
    // The outer ring, from its right-hand side round the top and back underneath.
    tail.arcTo(QRectF(3.4, 3.4, 17.2, 17.2), 0, 310);
    return unite({ring({12, 12}, 3.6, pen), outline(tail, pen)});
}

QPainterPath checklist(const Pen& pen) {
    QPainterPath ticks;
    for (qreal y : {6.5, 12.0, 17.5})
        ticks.addPath(polyline({{3.2, y}, {4.9, y + 1.7}, {8.0, y - 1.9}}));
    return unite({outline(ticks, pen), textLines({{6.5, 21}, {12.0, 21}, {17.5, 21}}, 11.5, pen)});
}

QPainterPath textCursor(const Pen& pen) {
    QPainterPath beam;
    beam.moveTo(8.8, 3.6);
    beam.quadTo(12, 3.4, 12, 6.4);
    beam.lineTo(12, 17.6);
    beam.quadTo(12, 20.6, 8.8, 20.4);
    beam.moveTo(15.2, 3.6);
    beam.quadTo(12, 3.4, 12, 6.4);
    beam.moveTo(15.2, 20.4);
    beam.quadTo(12, 20.6, 12, 17.6);
    beam.addPath(line({9.6, 12}, {14.4, 12}));
    return outline(beam, pen);
}

// A closing quotation mark drawn as two filled commas.
QPainterPath quotationMark(QPointF origin) {
    QPainterPath marks;
    for (qreal dx : {0.0, 4.6}) {
        const QPointF o = origin + QPointF(dx, 0);
        marks.addEllipse(o, 1.75, 1.75);
        QPainterPath comma;
        comma.moveTo(o + QPointF(1.75, 0));
        comma.quadTo(o + QPointF(1.9, 3.4), o + QPointF(-0.9, 4.4));
        comma.lineTo(o + QPointF(-1.2, 3.6));
        comma.quadTo(o + QPointF(0.4, 2.6), o + QPointF(0, 1.5));
        comma.closeSubpath();
        marks.addPath(comma);
    }
    return marks.simplified();
}

QPainterPath triangleEdges() {
    QPainterPath shape;
    shape.moveTo(12, 2.6);
    shape.lineTo(22.2, 20.4);
    shape.lineTo(1.8, 20.4);
    shape.closeSubpath();
    return shape;
}

QPainterPath triangle() {
    // Rounded corners: the outline of the triangle drawn with a wide round pen, united with the triangle.
    return unite({triangleEdges(), outline(triangleEdges(), 2.4)});
}

QPainterPath trash(const Pen& pen) {
    QPainterPath can;
    can.moveTo(6.4, 7.0);
    can.lineTo(7.6, 20.2);
    can.lineTo(16.4, 20.2);
    can.lineTo(17.6, 7.0);
    QPainterPath lid = line({4.2, 6.4}, {19.8, 6.4});
    lid.addPath(polyline({{9.2, 6.4}, {9.8, 3.6}, {14.2, 3.6}, {14.8, 6.4}}));
    QPainterPath ribs = line({10.2, 10.0}, {10.5, 16.8});
    ribs.addPath(line({13.8, 10.0}, {13.5, 16.8}));
    return unite({outline(can, pen), outline(lid, pen), outline(ribs, pen)});
}

QPainterPath calendar(const Pen& pen) {
    QPainterPath sheet;
    sheet.addRoundedRect(QRectF(3.6, 5.0, 16.8, 15.4), 2.4, 2.4);
    QPainterPath rings = line({8.2, 2.8}, {8.2, 6.6});
    rings.addPath(line({15.8, 2.8}, {15.8, 6.6}));
    rings.addPath(line({3.6, 9.6}, {20.4, 9.6}));
    QPainterPath days;
    for (qreal y : {13.2, 16.8})
        for (qreal x : {8.0, 12.0, 16.0})
            days.addEllipse(QPointF(x, y), 1.05, 1.05);
    return unite({outline(sheet, pen), outline(rings, pen), days});
}

// A filled microphone: the capsule, its cradle and the stand.
QPainterPath microphone(const Pen& pen) {
    QPainterPath capsule;
    capsule.addRoundedRect(QRectF(8.6, 2.4, 6.8, 12.0), 3.4, 3.4);
    QPainterPath cradle;
    cradle.moveTo(5.6, 10.8);
    cradle.cubicTo(5.6, 15.0, 8.4, 17.6, 12, 17.6);
    cradle.cubicTo(15.6, 17.6, 18.4, 15.0, 18.4, 10.8);
    cradle.addPath(line({12, 17.6}, {12, 21.0}));
    cradle.addPath(line({8.8, 21.0}, {15.2, 21.0}));
    return unite({capsule, outline(cradle, pen)});
}

// A figure with arms spread, inside a ring.
QPainterPath accessibilityFigure(const Pen& pen) {
    QPainterPath body = line({6.8, 8.8}, {17.2, 8.8});
    body.addPath(line({12, 8.8}, {12, 13.4}));
    body.addPath(polyline({{8.8, 18.6}, {12, 13.4}, {15.2, 18.6}}));
    return unite({ring({12, 12}, 10.2, pen), circle({12, 5.6}, 1.7), outline(body, pen)});
}

QPainterPath pauseInCircle(const Pen& pen) {
    QPainterPath bars = line({9.6, 8.4}, {9.6, 15.6});
    bars.addPath(line({14.4, 8.4}, {14.4, 15.6}));
    return unite({ring({12, 12}, 9.3, pen), outline(bars, pen)});
}

// The reply arrow: a head pointing left and a shaft that sweeps down to the right.
QPainterPath replyArrow(const Pen& pen) {
    QPainterPath arrow;
    arrow.moveTo(10.0, 4.6);
    arrow.lineTo(3.0, 10.6);
    arrow.lineTo(10.0, 16.6);
    arrow.lineTo(10.0, 13.0);
    arrow.cubicTo(15.0, 12.8, 18.4, 14.4, 21.0, 19.0);
    arrow.cubicTo(20.4, 12.4, 16.4, 8.4, 10.0, 8.2);
    arrow.closeSubpath();
    return outline(arrow, pen);
}

QPainterPath gear(const Pen& pen) {
    QPainterPath teeth;
    for (int i = 0; i < 8; ++i) {
        const QPointF direction = QLineF::fromPolar(1, i * 45).p2();
        teeth.addPath(line(QPointF(12, 12) + direction * 7.0, QPointF(12, 12) + direction * 9.4));
    }
    return unite({ring({12, 12}, 6.4, pen), ring({12, 12}, 2.6, pen), outline(teeth, pen.width * 1.9)});
}

QPainterPath ellipsisInCircle(const Pen& pen) {
    const qreal dot = std::max(pen.width * 0.75, 1.2);
    return unite({ring({12, 12}, 9.3, pen), circle({7.6, 12}, dot), circle({12, 12}, dot), circle({16.4, 12}, dot)});
}

// "Aa": a capital and a small letter.
QPainterPath letters(const Pen& pen) {
    QPainterPath strokes = polyline({{2.6, 19.0}, {8.0, 4.8}, {13.4, 19.0}});
    strokes.addPath(line({4.6, 14.0}, {11.4, 14.0}));
    strokes.addPath(line({21.0, 12.0}, {21.0, 19.0}));
    return unite({outline(strokes, pen), ring({17.8, 15.6}, 3.2, pen)});
}

// A shield with a padlock on it.
QPainterPath lockedShield(const Pen& pen) {
    QPainterPath shield;
    shield.moveTo(12, 2.4);
    shield.lineTo(19.6, 5.2);
    shield.cubicTo(19.6, 13.0, 17.0, 18.4, 12, 21.4);
    shield.cubicTo(7.0, 18.4, 4.4, 13.0, 4.4, 5.2);
    shield.closeSubpath();
    QPainterPath shackle;
    shackle.moveTo(10.0, 11.0);
    shackle.lineTo(10.0, 9.6);
    shackle.cubicTo(10.0, 7.0, 14.0, 7.0, 14.0, 9.6);
    shackle.lineTo(14.0, 11.0);
    QPainterPath body;
    body.addRoundedRect(QRectF(8.6, 11.0, 6.8, 5.2), 1.0, 1.0);
    return unite({outline(shield, pen), outline(shackle, pen.width * 0.8), body});
}

const QHash<QString, SymbolShapes::Shape> shapes = {
    {QStringLiteral("xmark"), [](const Pen& pen) { return outline(xmark(), pen); }},
    {QStringLiteral("checkmark"), [](const Pen& pen) { return outline(checkStroke(), pen); }},
    {QStringLiteral("info.circle"),
     [](const Pen& pen) { return unite({ring({12, 12}, 9.3, pen), infoMark(pen.width)}); }},
    {QStringLiteral("info.circle.fill"),
     [](const Pen& pen) { return circle({12, 12}, 10.5).subtracted(infoMark(std::max(pen.width, 2.2))); }},
    {QStringLiteral("checkmark.circle.fill"),
     [](const Pen& pen) { return circle({12, 12}, 10.5).subtracted(outline(checkStroke(), std::max(pen.width, 2.3))); }},
    {QStringLiteral("exclamationmark.triangle.fill"),
     [](const Pen& pen) {
         const qreal w = std::max(pen.width, 2.3);
         return triangle().subtracted(unite({outline(line({12, 8.6}, {12, 13.6}), w), circle({12, 17.0}, w * 0.7)}));
     }},
    {QStringLiteral("person.crop.circle"),
     [](const Pen& pen) { return personInCircle({12, 12}, 9.5, pen); }},
    {QStringLiteral("person.crop.circle.badge.plus"),
     [](const Pen& pen) {
         QPainterPath plus = line({19.2, 1.6}, {19.2, 8.8});
         plus.addPath(line({15.6, 5.2}, {22.8, 5.2}));
         return unite({personInCircle({10.4, 13.6}, 8.6, pen), outline(plus, pen)});
     }},
    {QStringLiteral("at"), [](const Pen& pen) { return at(pen); }},
    {QStringLiteral("pin"), [](const Pen& pen) { return pin(pen); }},
    {QStringLiteral("checklist"), [](const Pen& pen) { return checklist(pen); }},
    {QStringLiteral("text.cursor"), [](const Pen& pen) { return textCursor(pen); }},
    {QStringLiteral("text.quote"),
     [](const Pen& pen) {
         return unite({quotationMark({4.4, 6.2}), textLines({{6.8, 21}, {12.4, 21}}, 12.6, pen),
                       textLines({{18.0, 21}}, 3.4, pen)});
     }},
    {QStringLiteral("text.badge.xmark"),
     [](const Pen& pen) {
         QPainterPath cross = line({15.6, 12.8}, {20.8, 18.0});
         cross.addPath(line({20.8, 12.8}, {15.6, 18.0}));
         return unite({textLines({{6.5, 20.5}, {12.0, 11.5}, {17.5, 10.5}}, 3.5, pen), outline(cross, pen)});
     }},
    {QStringLiteral("pencil"), [](const Pen& pen) { return pencil(pen); }},
    {QStringLiteral("plus"),
     [](const Pen& pen) {
         QPainterPath plus = line({12, 5}, {12, 19});
         plus.addPath(line({5, 12}, {19, 12}));
         return outline(plus, pen);
     }},
    {QStringLiteral("trash"), [](const Pen& pen) { return trash(pen); }},
    {QStringLiteral("calendar"), [](const Pen& pen) { return calendar(pen); }},
    {QStringLiteral("circle"), [](const Pen& pen) { return ring({12, 12}, 9.3, pen); }},
    {QStringLiteral("checkmark.circle"),
     [](const Pen& pen) { return unite({ring({12, 12}, 9.3, pen), outline(checkStroke(), pen)}); }},
    {QStringLiteral("xmark.circle.fill"),
     [](const Pen& pen) {
         QPainterPath cross = line({8.4, 8.4}, {15.6, 15.6});
         cross.addPath(line({15.6, 8.4}, {8.4, 15.6}));
         return circle({12, 12}, 10.5).subtracted(outline(cross, std::max(pen.width, 2.2)));
     }},
    {QStringLiteral("mic.fill"), [](const Pen& pen) { return microphone(pen); }},
    {QStringLiteral("accessibility"), [](const Pen& pen) { return accessibilityFigure(pen); }},
    {QStringLiteral("pause.circle"), [](const Pen& pen) { return pauseInCircle(pen); }},
    {QStringLiteral("exclamationmark.triangle"),
     [](const Pen& pen) {
         const QPainterPath mark = unite({outline(line({12, 9.0}, {12, 13.4}), pen), circle({12, 16.8}, pen.width * 0.75)});
         return unite({outline(triangleEdges(), pen), mark});
     }},
    {QStringLiteral("arrowshape.turn.up.left"), [](const Pen& pen) { return replyArrow(pen); }},
    {QStringLiteral("gearshape"), [](const Pen& pen) { return gear(pen); }},
    {QStringLiteral("ellipsis.circle"), [](const Pen& pen) { return ellipsisInCircle(pen); }},
    {QStringLiteral("textformat"), [](const Pen& pen) { return letters(pen); }},
    {QStringLiteral("lock.shield"), [](const Pen& pen) { return lockedShield(pen); }},
    {QStringLiteral("minus.circle"),
     [](const Pen& pen) { return unite({ring({12, 12}, 9.3, pen), outline(line({7.6, 12}, {16.4, 12}), pen)}); }},
    {QStringLiteral("text.bubble"),
     [](const Pen& pen) {
         // A rounded speech bubble with its tail at the lower left, and two lines of text inside.
         QPainterPath bubble;
         bubble.addRoundedRect(QRectF(2.8, 3.6, 18.4, 13.6), 4.2, 4.2);
         bubble.addPolygon(QPolygonF({QPointF(6.4, 16.0), QPointF(5.6, 21.2), QPointF(11.6, 16.0)}));
         bubble.closeSubpath();
         bubble = bubble.simplified();
         return unite({outline(bubble, pen), textLines({{8.4, 16.6}, {12.4, 13.4}}, 7.4, pen)});
     }},
};

} // namespace

const QHash<QString, SymbolShapes::Shape>& SymbolShapes::all() {
    return shapes;
}

} // namespace lumeno
