#pragma once

#include <QLineEdit>

#include <functional>

namespace lumeno {

// The text of a commitment or pin, edited in place. Typing stays in the field; Return or leaving the
// field hands the trimmed text on. A blank text is never handed on: the stored text comes back instead, so a
// record's text cannot be emptied from the window.
class RecordTextField : public QLineEdit {
    Q_OBJECT
public:
    explicit RecordTextField(const QString& placeholder, QWidget* parent = nullptr);

    // The record's text as stored. The field follows every change of it (the store may have trimmed or
    // redacted what was typed, or another part of the program changed it); an unchanged text leaves what
    // the user is typing alone.
    void setStoredText(const QString& text);
    const QString& storedText() const { return stored_; }

    // Receives the trimmed, non-blank text on Return and when the field loses focus.
    std::function<void(const QString&)> onCommit = [](const QString&) {};
    // Hands on what is typed, as Return does.
    void commit();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:

    QString stored_;
    bool loaded_ = false;
};

} // namespace lumeno
