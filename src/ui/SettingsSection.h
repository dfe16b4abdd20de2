#pragma once

#include <QWidget>

class QVBoxLayout;

namespace lumeno {

class TextLabel;

// One group of a grouped form, as every window draws it: a small title, its rows on a rounded panel with
// hairlines between them, and an optional footer in the secondary colour.
class SettingsSection : public QWidget {
    Q_OBJECT
public:
    explicit SettingsSection(const QString& title, QWidget* parent = nullptr);

    void setTitle(const QString& title); // empty hides it
    void setFooter(const QString& footer); // empty hides it
    QString footer() const;

    // A row with a label on the left and `field` taking the rest. The labels of a section share one column,
    // as wide as the widest of them.
    QWidget* addRow(const QString& label, QWidget* field);
    // A read-only row: the label, and its value at the trailing edge in the secondary colour, selectable and
    // wrapped whole however long (the value is a WrappingText named "value", its accessible name the label).
    QWidget* addValueRow(const QString& label, const QString& value);
    // A row that is all one widget (or a layout of several).
    QWidget* addRow(QWidget* content);
    // Removes every row (deleted once control returns to the event loop).
    void clearRows();
    bool isEmpty() const;

private:
    class Panel;
    void alignLabels();

    TextLabel* title_;
    Panel* panel_;
    QVBoxLayout* rows_;
    TextLabel* footer_;
};

} // namespace lumeno
