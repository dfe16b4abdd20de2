#include "shell/HowToPanel.h"

#include <QMouseEvent>
#include <QVBoxLayout>

namespace lumeno {

HowToPanel::HowToPanel(HowToSession& session, HowToView::Services services)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      view_(new HowToView(session, services, this)) {
    setObjectName(QStringLiteral("howToPanel"));
    setWindowTitle(QStringLiteral("How to Use Lumeno"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFixedSize(HowToView::width, HowToView::height);
}

void HowToPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    // We follow the pointer ourselves rather than ask the window manager to move the panel: its move begins
    // only when it gets round to it, and after a quick click's release it would follow the pointer with no
    // button held until Escape. Our own press holds the pointer until the release, which ends the move.
    grip_ = event->globalPosition().toPoint() - pos();
}

void HowToPanel::mouseMoveEvent(QMouseEvent* event) {
    if (grip_)
        move(event->globalPosition().toPoint() - *grip_);
}

void HowToPanel::mouseReleaseEvent(QMouseEvent* event) {
    grip_.reset();
    QWidget::mouseReleaseEvent(event);
}

} // namespace lumeno
