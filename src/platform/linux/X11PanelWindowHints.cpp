#include "platform/linux/X11PanelWindowHints.h"

#include <QGuiApplication>
#include <QWindow>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include <vector>

namespace lumeno {

namespace {

Display* x11Display() {
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

} // namespace

void X11PanelWindowHints::prepare(QWindow& panel) {
    Display* display = x11Display();
    if (!display)
        return;
    const Window window = Window(panel.winId());

    // On every virtual desktop.
    const unsigned long allDesktops = 0xFFFFFFFF;
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_DESKTOP", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&allDesktops), 1);

    // Qt keeps states already set on a window it has not mapped yet and adds its own (such as "above").
    std::vector<Atom> states = {XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False),
                                XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False),
                                XInternAtom(display, "_NET_WM_STATE_STICKY", False)};
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeAppend,
                    reinterpret_cast<const unsigned char*>(states.data()), int(states.size()));
    XFlush(display);
}

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
