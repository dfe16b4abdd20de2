#include "ui/ElidedLabel.h"

#include <QResizeEvent>

namespace lumeno {

namespace {

constexpr int fewCharacters = 4;

} // namespace

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent, Hierarchy level, const QFont& font)
    : TextLabel(text, parent, level, font), full_(text) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize ElidedLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    return {fontMetrics().horizontalAdvance(full_) + margins.left() + margins.right(),
            TextLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    const QMargins margins = contentsMargins();
    return {std::min(sizeHint().width(), fewCharacters * fontMetrics().averageCharWidth() + margins.left()
                                             + margins.right()),
            TextLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    TextLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide() {
    const QString shown = fontMetrics().elidedText(full_, Qt::ElideRight, contentsRect().width());
    if (shown != text())
        setText(shown);
}

} // namespace lumeno
