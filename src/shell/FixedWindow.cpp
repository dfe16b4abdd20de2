#include "shell/FixedWindow.h"

#include <QWidget>

namespace lumeno {

void makeFixedWindow(QWidget& window) {
    window.setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
}

} // namespace lumeno
