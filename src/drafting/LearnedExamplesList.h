#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace lumeno {

class StyleStore;

// The examples learned from messages the user sent, newest first, each removable. Part of the Style tab.
class LearnedExamplesList : public QWidget {
    Q_OBJECT
public:
    explicit LearnedExamplesList(StyleStore& style, QWidget* parent = nullptr);

    // Shows the store's current examples.
    void refresh();

private:
    void removeSelected();

    StyleStore& style_;
    QListWidget* list_;
    QLabel* empty_;
    QPushButton* remove_;
};

} // namespace lumeno
