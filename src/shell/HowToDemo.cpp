#include "shell/HowToDemo.h"

#include "shell/DemoBubble.h"
#include "ui/Hierarchy.h"
#include "ui/Tint.h"
#include "ui/TypeScale.h"

#include <QFontMetricsF>
#include <QPainter>

namespace lumeno {

namespace {

constexpr double padding = 14;
constexpr double spacing = 10;
constexpr double fieldHeight = 28;
constexpr double bubbleZone = 30;

QFont bodyFont() {
    return TypeScale::font(12);
}

double messageHeight() {
    return QFontMetricsF(bodyFont()).height() + 12;
}

QColor primaryAt(const QPalette& palette, qreal alpha) {
    QColor color = hierarchicalColor(palette, Hierarchy::primary).toRgb();
    color.setAlphaF(alpha);
    return color;
}

} // namespace

HowToDemo::HowToDemo(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFixedSize(sizeHint());
    setEdit(false);
}

QSize HowToDemo::sizeHint() const {
    return QSize(cardWidth, int(std::ceil(2 * padding + messageHeight() + fieldHeight + bubbleZone + 2 * spacing)));
}

void HowToDemo::setEdit(bool edit) {
    edit_ = edit;
    // The card is one element for a screen reader: what it shows, not each moving part.
    setAccessibleName(DemoFrame::accessibleLabel(edit));
    frame_ = DemoFrame::at(elapsed_, edit_);
    update();
}

void HowToDemo::setTime(double elapsed) {
    elapsed_ = elapsed;
    const DemoFrame frame = DemoFrame::at(elapsed, edit_);
    if (frame == frame_)
        return;
    frame_ = frame;
    update();
}

void HowToDemo::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(primaryAt(palette(), 0.08), 1));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRoundedRect(card, 14, 14);

    const QRectF content = QRectF(rect()).adjusted(padding, padding, -padding, -padding);
    const QRectF message(content.left(), content.top(), content.width(), messageHeight());
    paintMessage(painter, message);
    const QRectF field(content.left(), message.bottom() + spacing, content.width(), fieldHeight);
    paintField(painter, field);
    const QRectF zone(content.left(), field.bottom() + spacing, content.width(), bubbleZone);

    if (frame_.bubbleOpacity <= 0)
        return;
    // The bubble grows from 96 % as it fades in, and shrinks back as it fades out.
    const double width = DemoBubble::width(frame_, edit_);
    const double scale = 0.96 + 0.04 * frame_.bubbleOpacity;
    painter.save();
    painter.setOpacity(frame_.bubbleOpacity);
    painter.translate(zone.center());
    painter.scale(scale, scale);
    DemoBubble::paint(painter, QPointF(-width / 2, -DemoBubble::height / 2), frame_, edit_, palette());
    painter.restore();
}

void HowToDemo::paintMessage(QPainter& painter, const QRectF& row) {
    const QString text = DemoFrame::incomingMessage();
    const double width = QFontMetricsF(bodyFont()).horizontalAdvance(text) + 20;
    const QRectF bubble(row.left(), row.top(), std::min(width, row.width()), row.height());
    painter.setPen(Qt::NoPen);
    painter.setBrush(primaryAt(palette(), 0.07));
    painter.drawRoundedRect(bubble, 12, 12);
    painter.setPen(hierarchicalColor(palette(), Hierarchy::primary));
    painter.setFont(bodyFont());
    painter.drawText(bubble, Qt::AlignCenter, text);
}

void HowToDemo::paintField(QPainter& painter, const QRectF& row) {
    const QColor accent = Tint::accent(palette());
    QColor outline = accent;
    outline.setAlphaF(0.55);
    painter.setPen(QPen(outline, 1.5));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRoundedRect(row.adjusted(0.75, 0.75, -0.75, -0.75), 7, 7);

    painter.setPen(hierarchicalColor(palette(), Hierarchy::primary));
    painter.setFont(bodyFont());
    const QRectF text = row.adjusted(9, 0, -9, 0);
    const QString shown = QFontMetricsF(bodyFont()).elidedText(frame_.field, Qt::ElideLeft, text.width() - 4);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, shown);
    if (frame_.caretOn) {
        const double x = text.left() + QFontMetricsF(bodyFont()).horizontalAdvance(shown) + 1;
        painter.fillRect(QRectF(x, row.center().y() - 7, 1.5, 14), accent);
    }
}

} // namespace lumeno
