#include "memory/ui/SymbolIcon.h"

#include "ui/Symbol.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace lumeno {

QIcon symbolIcon(const QString& name, int side, const Ink& ink, const QWidget& widget) {
    const qreal ratio = widget.devicePixelRatioF();
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    Symbol::paint(painter, name, QRectF(0, 0, side, side), ink.resolve(widget.palette()));
    return QIcon(pixmap);
}

} // namespace lumeno
