#include "ui/GlassBackground.h"

#include "ui/Hierarchy.h"
#include "ui/Ink.h"

#include <QPainter>
#include <QPainterPath>

#include <vector>

namespace lumeno {

namespace {

constexpr int blur = 14;        // how far the shadow spreads
constexpr int shadowDrop = 5;   // how far below the sheet it falls
constexpr double shadowStrength = 0.26;

// One horizontal and one vertical running-average pass over the alpha channel; three of them approach a
// Gaussian blur closely enough for a shadow.
void boxBlurAlpha(QImage& image, int radius) {
    const int w = image.width(), h = image.height();
    std::vector<int> line(std::max(w, h));
    auto pass = [&](bool horizontal) {
        const int outer = horizontal ? h : w, inner = horizontal ? w : h;
        for (int o = 0; o < outer; ++o) {
            auto pixel = [&](int i) -> QRgb& {
                return reinterpret_cast<QRgb*>(image.scanLine(horizontal ? o : i))[horizontal ? i : o];
            };
            for (int i = 0; i < inner; ++i)
                line[i] = qAlpha(pixel(i));
            int sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum += line[std::clamp(i, 0, inner - 1)];
            for (int i = 0; i < inner; ++i) {
                const int alpha = sum / (2 * radius + 1);
                pixel(i) = qRgba(0, 0, 0, alpha);
                sum += line[std::min(i + radius + 1, inner - 1)] - line[std::max(i - radius, 0)];
            }
        }
    };
    for (int round = 0; round < 3; ++round) {
        pass(true);
        pass(false);
    }
}

} // namespace

QMargins GlassBackground::shadowMargins() {
    return {blur, blur - shadowDrop, blur, blur + shadowDrop};
}

const QImage& GlassBackground::shadowFor(QSize sheet, qreal radius) {
    if (sheet == shadowSheet_ && radius == shadowRadius_)
        return shadow_;
    shadow_ = QImage(sheet + QSize(2 * blur, 2 * blur), QImage::Format_ARGB32_Premultiplied);
    shadow_.fill(Qt::transparent);
    {
        QPainter painter(&shadow_);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(blur, blur, sheet.width(), sheet.height()), radius, radius);
        painter.fillPath(shape, QColor(0, 0, 0, int(255 * shadowStrength)));
    }
    boxBlurAlpha(shadow_, blur / 3);
    shadowSheet_ = sheet;
    shadowRadius_ = radius;
    return shadow_;
}

QColor GlassBackground::glassFill(const QPalette& palette) {
    QColor fill = palette.color(QPalette::Base);
    fill.setAlphaF(0.94f);
    return fill;
}

QRegion GlassBackground::sheetRegion(const QRect& sheet, qreal radius) {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(sheet), radius, radius);
    return QRegion(shape.toFillPolygon().toPolygon());
}

void GlassBackground::paintOpaque(QPainter& painter, const QRect& sheet, qreal radius, QColor fill,
                                  const QPalette& palette) {
    painter.save();
    fill.setAlpha(255);
    const QRegion region = sheetRegion(sheet, radius);
    painter.setClipRegion(region);
    painter.fillRect(sheet, fill);
    // The hairline follows the pixel edge of the shape, so no half-covered pixel is left to show black.
    painter.setPen(QPen(hierarchicalColor(palette, Hierarchy::quaternary), 1));
    for (const QRect& band : region) {
        painter.drawLine(band.topLeft(), band.bottomLeft());
        painter.drawLine(band.topRight(), band.bottomRight());
    }
    painter.drawLine(sheet.topLeft(), sheet.topRight());
    painter.drawLine(sheet.bottomLeft(), sheet.bottomRight());
    painter.restore();
}

void GlassBackground::paint(QPainter& painter, const QRect& sheet, qreal radius, const QColor& fill,
                            const QPalette& palette) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawImage(sheet.topLeft() - QPoint(blur, blur - shadowDrop), shadowFor(sheet.size(), radius));

    QPainterPath shape;
    const QRectF bounds = QRectF(sheet).adjusted(0.5, 0.5, -0.5, -0.5);
    shape.addRoundedRect(bounds, radius, radius);
    painter.fillPath(shape, fill);
    painter.setPen(QPen(scaledAlpha(Ink::of(Hierarchy::quaternary).resolve(palette), 1.3), 1));
    painter.drawPath(shape);
    painter.restore();
}

} // namespace lumeno
