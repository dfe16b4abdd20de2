#include "ui/SymbolView.h"

#include "ui/Symbol.h"

#include <QPainter>

namespace lumeno {

SymbolView::SymbolView(const QString& name, qreal fontPixelSize, Ink ink, QWidget* parent, QFont::Weight weight)
    : QWidget(parent), name_(name), fontPixelSize_(fontPixelSize), ink_(ink), weight_(weight) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolView::setSymbol(const QString& name, Ink ink) {
    if (name == name_ && ink == ink_)
        return;
    name_ = name;
    ink_ = ink;
    update();
}

QSize SymbolView::sizeHint() const {
    const int side = Symbol::sideFor(fontPixelSize_);
    return {side, side};
}

void SymbolView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Symbol::paint(painter, name_, rect(), ink_.resolve(palette()), weight_);
}

} // namespace lumeno
