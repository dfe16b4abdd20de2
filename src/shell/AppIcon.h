#pragma once

#include <QIcon>
#include <QImage>

namespace lumeno {

// The application's icon, drawn rather than shipped: the reply arrow in white on a rounded tile of the
// house blue. Used for windows and the setup header.
struct AppIcon {
    static QImage image(int side, qreal devicePixelRatio = 1.0);
    static QIcon icon();
};

} // namespace lumeno
