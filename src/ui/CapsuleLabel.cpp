#include "ui/CapsuleLabel.h"

#include <QPainter>

namespace lumeno {

CapsuleLabel::CapsuleLabel(CapsuleContent content, QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setContent(content);
}

void CapsuleLabel::setContent(const CapsuleContent& content) {
    content_ = content;
    setAccessibleName(content.text);
    updateGeometry();
    update();
}

void CapsuleLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    content_.paint(painter, rect(), palette());
}

} // namespace lumeno
