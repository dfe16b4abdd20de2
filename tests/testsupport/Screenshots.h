#pragma once

#include "testsupport/LayoutCheck.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QWidget>

namespace lumeno::screenshots {

// Where tests put pictures of what the user sees: $LUMENO_SCREENSHOT_DIR, else "screenshots" in the test's
// build folder (LUMENO_SCREENSHOT_DEFAULT_DIR), else in the working folder.
inline QString directory() {
    QString dir = qEnvironmentVariable("LUMENO_SCREENSHOT_DIR");
#ifdef LUMENO_SCREENSHOT_DEFAULT_DIR
    if (dir.isEmpty())
        dir = QStringLiteral(LUMENO_SCREENSHOT_DEFAULT_DIR);
#endif
    if (dir.isEmpty())
        dir = QDir::current().filePath(QStringLiteral("screenshots"));
    QDir().mkpath(dir);
    return dir;
}

// Saves `image` as <name>.png and returns the path.
inline QString save(const QImage& image, const QString& name) {
    const QString path = QDir(directory()).filePath(name + QStringLiteral(".png"));
    image.save(path);
    return path;
}

// A widget as it appears on a desktop: its picture (transparent parts included) over a plain backdrop,
// with `margin` pixels of the backdrop around it. What it shows is checked first: nothing clipped.
inline QImage onDesktop(QWidget& widget, int margin = 24, QColor backdrop = QColor(0xd9, 0xdd, 0xe3)) {
    testing::expectNothingClipped(widget);
    const QImage shot = widget.grab().toImage();
    const qreal dpr = shot.devicePixelRatio();
    QImage canvas(shot.size() + QSize(2 * margin, 2 * margin) * dpr, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(dpr);
    canvas.fill(backdrop);
    QPainter painter(&canvas);
    painter.drawImage(QPointF(margin, margin), shot);
    return canvas;
}

} // namespace lumeno::screenshots
