#include "ui/WindowFront.h"

#include <QWidget>

namespace lumeno {

void bringToFront(QWidget& window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace lumeno
