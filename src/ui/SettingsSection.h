#pragma once

#include <QWidget>

class QVBoxLayout;

namespace lumeno {

class TextLabel;

// One group of a settings form: a small title, its rows on a rounded panel with hairlines between them,
// and an optional footer in the secondary colour.
class SettingsSection : public QWidget {
    Q_OBJECT
public:
    explicit SettingsSection(const QString& title, QWidget* parent = nullptr);

    void setTitle(const QString& title);
    void setFooter(const QString& footer); // empty hides it
    QString footer() const;

    // A row with a label on the left and `field` taking the rest.
    QWidget* addRow(const QString& label, QWidget* field);
    // A row that is all one widget (or a layout of several).
    QWidget* addRow(QWidget* content);
    // Removes every row (deleted once control returns to the event loop).
    void clearRows();

private:
    class Panel;
    TextLabel* title_;
    Panel* panel_;
    QVBoxLayout* rows_;
    TextLabel* footer_;
};

} // namespace lumeno
