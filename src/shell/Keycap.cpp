#include "shell/Keycap.h"

#include "platform/KeyNames.h"
#include "platform/VirtualKeyCodes.h"
#include "ui/Hierarchy.h"
#include "ui/Tint.h"
#include "ui/TypeScale.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace lumeno {

namespace {

using Kind = KeySpot::Kind;

QPainterPath rounded(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QColor withAlpha(QColor color, qreal alpha) {
    color.setAlphaF(alpha);
    return color;
}

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightnessF() < 0.5;
}

} // namespace

bool Keycap::isModifier(const KeySpot& spot) {
    return spot.kind != Kind::named && spot.kind != Kind::space;
}

QString Keycap::accessibleName(const QString& label) {
    return label.isEmpty() ? KeyNames::special(VirtualKey::space).value_or(QString()) : label;
}

void Keycap::paint(QPainter& painter, const QRectF& frame, const QPalette& palette) const {
    const bool dark = isDark(palette);
    const bool down = pressed >= 0.5;
    const qreal radius = unit * 0.16;
    const qreal depth = 2 - 1.5 * pressed;   // how far the base shows below the face
    const qreal sink = 1.5 * pressed;        // how far the face travels down
    const QColor accent = Tint::accent(palette);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    // A soft shadow under the whole key, then the key's side.
    const QRectF base = frame.translated(0, depth);
    for (int ring = 2; ring >= 1; --ring) {
        painter.setBrush(withAlpha(Qt::black, (dark ? 0.35 : 0.1) / 2));
        painter.drawPath(rounded(base.translated(0, 1).adjusted(-ring * 0.5, -ring * 0.5, ring * 0.5, ring * 0.5),
                                 radius + ring * 0.5));
    }
    painter.setBrush(dark ? withAlpha(Qt::black, 0.55) : QColor::fromRgbF(0.74, 0.74, 0.74));
    painter.drawPath(rounded(base, radius));

    const QRectF face = frame.translated(0, sink);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    if (down) {
        fill.setColorAt(0, accent.lighter(115));
        fill.setColorAt(1, accent);
    } else if (dark) {
        fill.setColorAt(0, QColor::fromRgbF(0.27, 0.27, 0.27));
        fill.setColorAt(1, QColor::fromRgbF(0.21, 0.21, 0.21));
    } else {
        fill.setColorAt(0, Qt::white);
        fill.setColorAt(1, QColor::fromRgbF(0.965, 0.965, 0.965));
    }
    painter.setBrush(fill);
    painter.drawPath(rounded(face, radius));

    const qreal border = emphasized ? 1.5 : 0.75;
    const QColor borderColor = emphasized ? withAlpha(accent, down ? 0 : 0.9)
                                          : withAlpha(dark ? Qt::white : Qt::black, 0.1);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(borderColor, border));
    const qreal inset = border / 2;
    painter.drawPath(rounded(face.adjusted(inset, inset, -inset, -inset), radius - inset));

    const QColor ink = down ? QColor(Qt::white)
                            : emphasized ? accent : withAlpha(hierarchicalColor(palette, Hierarchy::primary).toRgb(), 0.75);
    painter.setPen(ink);
    if (isModifier(spot)) {
        const QRectF legend = face.adjusted(unit * 0.12, unit * 0.08, -unit * 0.12, -unit * 0.08);
        painter.setFont(TypeScale::font(unit * 0.22, QFont::Medium));
        painter.drawText(legend, Qt::AlignBottom | Qt::AlignLeft, label);
    } else if (!label.isEmpty()) {
        painter.setFont(TypeScale::font(unit * (label.size() == 1 ? 0.32 : 0.24)));
        painter.drawText(face, Qt::AlignCenter, label);
    }
    painter.restore();
}

} // namespace lumeno
