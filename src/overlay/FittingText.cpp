#include "overlay/FittingText.h"

#include "support/Text.h"
#include "ui/Ink.h"
#include "ui/TypeScale.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace lumeno {

FittingText::FittingText(Style style, QWidget* parent) : QWidget(parent), style_(style) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void FittingText::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void FittingText::setStyle(const Style& style) {
    if (style == style_)
        return;
    style_ = style;
    updateGeometry();
    update();
}

qreal FittingText::naturalWidth(const QString& text, qreal size) {
    const QFontMetricsF metrics(TypeScale::font(size));
    qreal widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return std::ceil(widest);
}

bool FittingText::wraps() const {
    return style_.lines >= 2 && naturalWidth(text_, style_.size) > style_.maxWidth;
}

QFont FittingText::font() const {
    return TypeScale::font(style_.size, style_.weight);
}

QString FittingText::oneLine() const {
    return Text::oneLine(text_);
}

QStringList FittingText::shownLines() const {
    const QFontMetricsF metrics(font());
    if (!wraps())
        return {metrics.elidedText(oneLine(), style_.truncation, style_.maxWidth)};

    QString text = text_;
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(text, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(style_.maxWidth);
        if (lines.size() == style_.lines - 1) {
            // The last line that fits takes the rest, cut at its end.
            lines << metrics.elidedText(Text::oneLine(text.mid(line.textStart())), Qt::ElideRight, style_.maxWidth);
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator).trimmed();
    }
    layout.endLayout();
    return lines;
}

QSize FittingText::sizeHint() const {
    const QFontMetricsF metrics(font());
    const QStringList lines = shownLines();
    const int height = int(std::ceil(metrics.lineSpacing() * (lines.size() - 1) + metrics.height()));
    if (wraps())
        return {style_.maxWidth, height};
    const int width = int(std::ceil(std::min(metrics.horizontalAdvance(oneLine()), qreal(style_.maxWidth))));
    return {std::max(width, minimumWidth()), height};
}

void FittingText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(Ink::of(style_.secondary ? Hierarchy::secondary : Hierarchy::primary).resolve(palette()));
    const QFontMetricsF metrics(font());
    const QStringList lines = shownLines();
    // Vertically centred in case a layout gives more height than asked for.
    qreal y = (height() - (metrics.lineSpacing() * (lines.size() - 1) + metrics.height())) / 2 + metrics.ascent();
    for (const QString& line : lines) {
        painter.drawText(QPointF(0, y), line);
        y += metrics.lineSpacing();
    }
}

} // namespace lumeno
