#include "shell/AppIcon.h"

#include "ui/Symbol.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace lumeno {

QImage AppIcon::image(int side, qreal devicePixelRatio) {
    QImage image(QSize(side, side) * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile = QRectF(0, 0, side, side).adjusted(side * 0.06, side * 0.06, -side * 0.06, -side * 0.06);
    QLinearGradient gradient(tile.topLeft(), tile.bottomRight());
    gradient.setColorAt(0, QColor(0x4d, 0x9b, 0xff));
    gradient.setColorAt(1, QColor(0x1d, 0x5f, 0xd6));
    QPainterPath shape;
    shape.addRoundedRect(tile, tile.width() * 0.225, tile.width() * 0.225);
    painter.fillPath(shape, gradient);
    const qreal inset = tile.width() * 0.2;
    Symbol::paint(painter, QStringLiteral("arrowshape.turn.up.left"), tile.adjusted(inset, inset, -inset, -inset),
                  Qt::white, QFont::DemiBold);
    return image;
}

QIcon AppIcon::icon() {
    QIcon icon;
    for (int side : {16, 32, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(image(side)));
    return icon;
}

} // namespace lumeno
