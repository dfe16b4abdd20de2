#include "shell/DemoBubble.h"

#include "ui/Hierarchy.h"
#include "ui/Symbol.h"
#include "ui/Tint.h"
#include "ui/TypeScale.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <cmath>

namespace lumeno {

namespace {

constexpr double paddingX = 12;
constexpr double spacing = 7;
constexpr double meterWidth = 22;
constexpr double meterHeight = 16;
constexpr double spinnerSide = 11;
constexpr std::array<double, DemoBubble::barCount> weights = {0.5, 0.8, 1.0, 0.8, 0.5};

const QString editTag = QStringLiteral("Edit");
constexpr double tagSymbol = 9;

QFont tagFont() {
    return TypeScale::font(10, QFont::DemiBold);
}

QFont textFont() {
    return TypeScale::font(11);
}

double tagWidth() {
    return 6 + tagSymbol + 3 + QFontMetricsF(tagFont()).horizontalAdvance(editTag) + 6;
}

QString shownText(const DemoFrame& frame, bool edit) {
    if (!frame.listening && frame.t >= DemoFrame::holdEnd)
        return DemoFrame::busyLabel(edit);
    return frame.words.isEmpty() ? QStringLiteral("Listening…") : frame.words;
}

bool showsBusy(const DemoFrame& frame) {
    return frame.t >= DemoFrame::holdEnd;
}

void paintSpinner(QPainter& painter, const QRectF& box, double t, QColor ink) {
    constexpr int spokes = 8;
    const int leading = int(std::fmod(t, 1.0) * spokes);
    const QPointF centre = box.center();
    const double outer = box.width() / 2, inner = outer * 0.45;
    for (int i = 0; i < spokes; ++i) {
        const double angle = 2 * M_PI * i / spokes - M_PI / 2;
        const int behind = (leading - i + spokes) % spokes;
        ink.setAlphaF(1.0 - behind * 0.1);
        painter.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre + QPointF(std::cos(angle), std::sin(angle)) * inner,
                         centre + QPointF(std::cos(angle), std::sin(angle)) * outer);
    }
}

} // namespace

double DemoBubble::barHeight(int index, double t) {
    const double weight = weights[std::size_t(index)];
    return ((std::sin(index * 1.3 + t * 11) + 1) * 0.5 * 0.65 + 0.35) * (weight * 12) + 3;
}

double DemoBubble::width(const DemoFrame& frame, bool edit) {
    double content = QFontMetricsF(textFont()).horizontalAdvance(shownText(frame, edit));
    content += (showsBusy(frame) ? spinnerSide : meterWidth) + spacing;
    if (edit)
        content += tagWidth() + spacing;
    return content + 2 * paddingX;
}

void DemoBubble::paint(QPainter& painter, QPointF origin, const DemoFrame& frame, bool edit,
                       const QPalette& palette) {
    const QRectF capsule(origin, QSizeF(width(frame, edit), height));
    const double radius = height / 2;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // A soft shadow two points below, built of widening translucent capsules.
    for (int ring = 6; ring >= 1; ring -= 1) {
        painter.setBrush(QColor(0, 0, 0, int(255 * 0.12 / 6)));
        painter.drawRoundedRect(capsule.translated(0, 2).adjusted(-ring * 0.5, -ring * 0.5, ring * 0.5, ring * 0.5),
                                radius + ring * 0.5, radius + ring * 0.5);
    }
    QColor material = palette.color(QPalette::Window);
    material.setAlphaF(0.96);
    painter.setBrush(material);
    QColor hairline = hierarchicalColor(palette, Hierarchy::primary).toRgb();
    hairline.setAlphaF(0.08);
    painter.setPen(QPen(hairline, 1));
    painter.drawRoundedRect(capsule.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);

    double x = capsule.left() + paddingX;
    const double midY = capsule.center().y();
    const QColor accent = Tint::accent(palette);
    if (edit) {
        const QRectF tag(x, midY - 8, tagWidth(), 16);
        painter.setPen(Qt::NoPen);
        painter.setBrush(accent);
        painter.drawRoundedRect(tag, 8, 8);
        Symbol::paint(painter, QStringLiteral("pencil"), QRectF(x + 6, midY - tagSymbol / 2, tagSymbol, tagSymbol),
                      Qt::white, QFont::DemiBold);
        painter.setPen(Qt::white);
        painter.setFont(tagFont());
        painter.drawText(QRectF(x + 6 + tagSymbol + 3, tag.top(), tag.width(), tag.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, editTag);
        x += tag.width() + spacing;
    }
    const QString text = shownText(frame, edit);
    const bool quiet = showsBusy(frame) || frame.words.isEmpty();
    if (showsBusy(frame)) {
        paintSpinner(painter, QRectF(x, midY - spinnerSide / 2, spinnerSide, spinnerSide), frame.t,
                     hierarchicalColor(palette, Hierarchy::secondary).toRgb());
        x += spinnerSide + spacing;
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(accent);
        const double barWidth = 2.5, gap = 2;
        double barX = x + (meterWidth - (barCount * barWidth + (barCount - 1) * gap)) / 2;
        for (int i = 0; i < barCount; ++i) {
            const double h = std::min(meterHeight, barHeight(i, frame.t));
            painter.drawRoundedRect(QRectF(barX, midY - h / 2, barWidth, h), barWidth / 2, barWidth / 2);
            barX += barWidth + gap;
        }
        x += meterWidth + spacing;
    }
    painter.setPen(hierarchicalColor(palette, quiet ? Hierarchy::secondary : Hierarchy::primary));
    painter.setFont(textFont());
    painter.drawText(QRectF(x, capsule.top(), capsule.right() - x, height), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.restore();
}

} // namespace lumeno
