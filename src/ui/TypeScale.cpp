#include "ui/TypeScale.h"

#include <QFontDatabase>
#include <QGuiApplication>

namespace lumeno {

QFont TypeScale::font(qreal pixelSize, QFont::Weight weight) {
    QFont font = QGuiApplication::font();
    font.setPixelSize(qRound(pixelSize));
    font.setWeight(weight);
    return font;
}

QFont TypeScale::monospaced(qreal pixelSize) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(qRound(pixelSize));
    return font;
}

} // namespace lumeno
