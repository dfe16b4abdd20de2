#include "ui/TextLabel.h"

namespace lumeno {

TextLabel::TextLabel(const QString& text, QWidget* parent, Hierarchy level, const QFont& font)
    : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setText(text);
    setFont(font);
    setTextHierarchy(*this, level);
}

} // namespace lumeno
