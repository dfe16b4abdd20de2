#pragma once

#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace lumeno {

// One section of a grouped form: an optional header above a rounded box whose lines are separated by thin
// rules. Lines are a label with its value at the trailing edge, or any widget.
class FormSection : public QWidget {
    Q_OBJECT
public:
    explicit FormSection(const QString& header, QWidget* parent = nullptr);

    // A label with its value beside it (the value label is named "value", its accessible name the label).
    void addRow(const QString& label, const QString& value);
    void addLine(QWidget* line);
    bool isEmpty() const { return lines_ == 0; }

    // A label in the secondary colour, as values and second lines are drawn.
    static QLabel* secondaryLabel(const QString& text, QWidget* parent);

private:
    QVBoxLayout* box_;
    int lines_ = 0;
};

} // namespace lumeno
