#pragma once

#include <QDateTime>
#include <QWidget>

#include <functional>
#include <optional>

class QDateEdit;
class QPushButton;

namespace lumeno {

class Clock;
class SymbolButton;
class SymbolView;

// A commitment's due date: a link that adds one (the start of tomorrow), or the date with a calendar mark
// (orange when overdue), a date field and a cross that removes it.
class DueControl : public QWidget {
    Q_OBJECT
public:
    explicit DueControl(const Clock& clock, QWidget* parent = nullptr);

    void setDue(const std::optional<QDateTime>& due, bool overdue);

    // Called with the new due date, or none to remove it.
    std::function<void(const std::optional<QDateTime>&)> onChange = [](const std::optional<QDateTime>&) {};

    // The start of the local day after `now`; what "Add due date" proposes.
    static std::optional<QDateTime> startOfTomorrow(const QDateTime& now);

private:
    void dateEdited(const QDate& date);

    const Clock& clock_;
    std::optional<QDateTime> due_;
    QPushButton* add_;
    QWidget* dated_;
    SymbolView* calendar_;
    QDateEdit* date_;
    SymbolButton* remove_;
};

} // namespace lumeno
