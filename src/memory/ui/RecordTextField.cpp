#include "memory/ui/RecordTextField.h"

#include "support/Text.h"

namespace lumeno {

RecordTextField::RecordTextField(const QString& placeholder, QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("recordText"));
    setPlaceholderText(placeholder);
    setAccessibleName(placeholder);
    setFrame(false);
    connect(this, &QLineEdit::returnPressed, this, &RecordTextField::commit);
}

void RecordTextField::setStoredText(const QString& text) {
    if (loaded_ && text == stored_)
        return;
    loaded_ = true;
    stored_ = text;
    setText(text);
    setCursorPosition(0);
}

void RecordTextField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    commit();
}

void RecordTextField::commit() {
    const QString trimmed = Text::trimmed(text());
    if (trimmed.isEmpty()) {
        setText(stored_);
        return;
    }
    onCommit(trimmed);
    // The store has answered synchronously by now: the field shows what it really kept, also when the
    // cleaned text changed nothing there.
    if (text() != stored_)
        setText(stored_);
}

} // namespace lumeno
