#include "memory/ui/SegmentedPicker.h"

#include "ui/Hierarchy.h"
#include "ui/TypeScale.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace lumeno {

namespace {
constexpr int barHeight = 26;
constexpr int padding = 14;
constexpr int inset = 2;
} // namespace

SegmentedPicker::SegmentedPicker(QStringList segments, QWidget* parent)
    : QWidget(parent), segments_(std::move(segments)) {
    setFont(TypeScale::font(12, QFont::Medium));
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

void SegmentedPicker::setCurrentIndex(int index) {
    if (index == current_ || index < 0 || index >= segments_.size())
        return;
    current_ = index;
    update();
    emit currentIndexChanged(index);
}

void SegmentedPicker::setSegments(const QStringList& segments) {
    if (segments == segments_)
        return;
    segments_ = segments;
    updateGeometry();
    update();
}

int SegmentedPicker::segmentWidth(int index) const {
    return fontMetrics().horizontalAdvance(segments_[index]) + 2 * padding;
}

QRect SegmentedPicker::segmentRect(int index) const {
    int x = inset;
    for (int i = 0; i < index; ++i)
        x += segmentWidth(i);
    return QRect(x, inset, segmentWidth(index), barHeight - 2 * inset);
}

QSize SegmentedPicker::sizeHint() const {
    int width = 2 * inset;
    for (int i = 0; i < segments_.size(); ++i)
        width += segmentWidth(i);
    return QSize(width, barHeight);
}

void SegmentedPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    QColor track = hierarchicalColor(colours, Hierarchy::quaternary);
    painter.setPen(Qt::NoPen);
    painter.setBrush(track);
    painter.drawRoundedRect(QRectF(rect()), 7, 7);

    for (int i = 0; i < segments_.size(); ++i) {
        const QRect box = segmentRect(i);
        if (i == current_) {
            painter.setBrush(colours.color(QPalette::Base));
            painter.setPen(QPen(QColor(0, 0, 0, 30), 0.5));
            painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5), 5.5, 5.5);
        } else if (i + 1 < segments_.size() && i + 1 != current_) {
            // A thin separator between two segments that are not chosen.
            painter.setPen(Qt::NoPen);
            painter.setBrush(hierarchicalColor(colours, Hierarchy::tertiary));
            painter.drawRect(QRectF(box.right() + 0.5, box.top() + 5, 1, box.height() - 10));
        }
        painter.setPen(hierarchicalColor(colours, Hierarchy::primary));
        painter.drawText(box, Qt::AlignCenter, segments_[i]);
    }
    if (hasFocus() && keyboardFocus_) {
        painter.setPen(QPen(colours.color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 7, 7);
    }
}

void SegmentedPicker::mousePressEvent(QMouseEvent* event) {
    for (int i = 0; i < segments_.size(); ++i) {
        if (segmentRect(i).contains(event->position().toPoint())) {
            setCurrentIndex(i);
            return;
        }
    }
}

void SegmentedPicker::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Left)
        setCurrentIndex(current_ - 1);
    else if (event->key() == Qt::Key_Right)
        setCurrentIndex(current_ + 1);
    else
        QWidget::keyPressEvent(event);
}

void SegmentedPicker::focusInEvent(QFocusEvent* event) {
    keyboardFocus_ = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QWidget::focusInEvent(event);
}

void SegmentedPicker::focusOutEvent(QFocusEvent* event) {
    keyboardFocus_ = false;
    QWidget::focusOutEvent(event);
}

} // namespace lumeno
