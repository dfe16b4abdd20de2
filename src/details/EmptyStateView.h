#pragma once

#include <QWidget>

#include <functional>

class QPushButton;

namespace lumeno {

// The centred "nothing to show" page: a large symbol, a label, a description and optionally one button.
class EmptyStateView : public QWidget {
    Q_OBJECT
public:
    EmptyStateView(const QString& symbol, const QString& label, QWidget* parent = nullptr);

    void setDescription(const QString& description);
    // Adds the one button; a click calls `action`.
    QPushButton* addButton(const QString& title, std::function<void()> action);
};

} // namespace lumeno
