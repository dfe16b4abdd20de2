#include "ui/CapsuleButton.h"

#include <QPainter>

namespace lumeno {

CapsuleButton::CapsuleButton(CapsuleContent content, QWidget* parent) : QAbstractButton(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover); // repaint on entering and leaving
    setContent(content);
}

void CapsuleButton::setContent(const CapsuleContent& content) {
    content_ = content;
    setText(content.text);
    updateGeometry();
    update();
}

void CapsuleButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool active = isEnabled() && (isDown() || underMouse());
    content_.paint(painter, rect(), palette(), active ? (isDown() ? 2.4 : 1.7) : 1.0);
}

} // namespace lumeno
