#include "overlay/OverlayPanel.h"

#include "platform/PanelWindowHints.h"

#include <QPainter>
#include <QWindow>

namespace lumeno {

OverlayPanel::OverlayPanel(QWidget* content, Sheet sheet, PanelWindowHints& hints)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::NoDropShadowWindowHint | Qt::BypassWindowManagerHint),
      content_(content), sheet_(sheet), hints_(hints) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    // Always a window with an alpha channel: a compositing manager may start or stop while it exists.
    setAttribute(Qt::WA_TranslucentBackground);
    // The panel is never the active window, where Qt shows help texts by default.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFocusPolicy(Qt::NoFocus);
    content_->setParent(this);
    winId(); // the input shape is set on the native window, which must exist before the first show
    connect(&hints_, &PanelWindowHints::compositingChanged, this, [this] {
        applyShape();
        update();
    });
}

QRect OverlayPanel::sheetGeometry() const {
    return sheetInPanel().translated(geometry().topLeft());
}

QRect OverlayPanel::sheetInPanel() const {
    return content_->geometry();
}

void OverlayPanel::place(const QRect& sheet, qreal cornerRadius, std::optional<QRect> room) {
    const QRect span = room ? QRect(room->left(), sheet.top(), room->width(), sheet.height()) : sheet;
    const QRect window = span.marginsAdded(GlassBackground::shadowMargins());
    if (sheet == sheetGeometry() && cornerRadius == radius_ && window == geometry())
        return;
    radius_ = cornerRadius;
    setGeometry(window);
    content_->setGeometry(sheet.translated(-window.topLeft()));
    hints_.setInputArea(*windowHandle(), sheetInPanel());
    applyShape();
    update();
}

void OverlayPanel::applyShape() {
    if (hints_.isCompositing())
        clearMask();
    else
        setMask(GlassBackground::sheetRegion(sheetInPanel(), radius_));
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
    if (hints_.isCompositing())
        background_.paint(painter, sheetInPanel(), radius_, fill, palette());
    else
        GlassBackground::paintOpaque(painter, sheetInPanel(), radius_, fill, palette());
}

} // namespace lumeno
