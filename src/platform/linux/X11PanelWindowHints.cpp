#include "platform/linux/X11PanelWindowHints.h"

#include "platform/linux/XcbConnection.h"

#include <QGuiApplication>
#include <QWindow>

#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

namespace lumeno {

namespace {

Display* x11Display() {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

} // namespace

X11PanelWindowHints::X11PanelWindowHints(std::shared_ptr<XcbConnection> x) {
    if (x) {
        const QByteArray selection = "_NET_WM_CM_S" + QByteArray::number(x->screen());
        compositingManager_.emplace(std::move(x), selection, [this] { emit compositingChanged(); });
    }
}

X11PanelWindowHints::~X11PanelWindowHints() = default;

void X11PanelWindowHints::setInputArea(QWindow& panel, const QRect& area) {
    Display* display = x11Display();
    int eventBase = 0, errorBase = 0;
    if (!display || !XShapeQueryExtension(display, &eventBase, &errorBase))
        return;
    // The shape is in the native window's pixels.
    const qreal scale = panel.devicePixelRatio();
    XRectangle rectangle{short(area.x() * scale), short(area.y() * scale), static_cast<unsigned short>(area.width() * scale),
                         static_cast<unsigned short>(area.height() * scale)};
    XShapeCombineRectangles(display, Window(panel.winId()), ShapeInput, 0, 0, &rectangle, 1, ShapeSet, Unsorted);
    XFlush(display);
}

} // namespace lumeno
