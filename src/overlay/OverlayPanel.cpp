#include "overlay/OverlayPanel.h"

#include "platform/PanelWindowHints.h"

#include <QPainter>
#include <QWindow>

namespace lumeno {

OverlayPanel::OverlayPanel(QWidget* content, Sheet sheet, PanelWindowHints& hints)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::NoDropShadowWindowHint),
      content_(content), sheet_(sheet), hints_(hints) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    content_->setParent(this);
    winId(); // the native window must exist before the window system is told about it
    hints_.prepare(*windowHandle());
}

QRect OverlayPanel::sheetGeometry() const {
    return geometry().marginsRemoved(GlassBackground::shadowMargins());
}

void OverlayPanel::place(const QRect& sheet, qreal cornerRadius) {
    if (sheet == sheetGeometry() && cornerRadius == radius_)
        return;
    radius_ = cornerRadius;
    const QMargins margins = GlassBackground::shadowMargins();
    setGeometry(sheet.marginsAdded(margins));
    const QRect sheetInPanel(QPoint(margins.left(), margins.top()), sheet.size());
    content_->setGeometry(sheetInPanel);
    hints_.setInputArea(*windowHandle(), sheetInPanel);
    update();
}

void OverlayPanel::present() {
    if (!isVisible())
        show();
    raise();
}

void OverlayPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor fill =
        sheet_ == Sheet::glass ? GlassBackground::glassFill(palette()) : palette().color(QPalette::Window);
    background_.paint(painter, content_->geometry(), radius_, fill, palette());
}

} // namespace lumeno
