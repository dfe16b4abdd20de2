#include "memory/ui/DueControl.h"

#include "support/Clock.h"
#include "ui/SymbolButton.h"
#include "ui/SymbolView.h"
#include "ui/Tint.h"
#include "ui/TypeScale.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>

namespace lumeno {

DueControl::DueControl(const Clock& clock, QWidget* parent)
    : QWidget(parent)
    , clock_(clock)
    , add_(new QPushButton(QStringLiteral("Add due date"), this))
    , dated_(new QWidget(this))
    , calendar_(new SymbolView(QStringLiteral("calendar"), 12, Ink::of(Hierarchy::secondary), dated_))
    , date_(new QDateEdit(dated_))
    , remove_(new SymbolButton({.symbol = QStringLiteral("xmark.circle.fill"), .fontSize = 12,
                                .ink = Ink::of(Hierarchy::tertiary), .circleFill = std::nullopt},
                               dated_)) {
    add_->setObjectName(QStringLiteral("addDueDate"));
    date_->setObjectName(QStringLiteral("dueDate"));
    remove_->setObjectName(QStringLiteral("removeDueDate"));
    calendar_->setObjectName(QStringLiteral("dueCalendar"));

    // A link: accent text, no bezel.
    add_->setFlat(true);
    add_->setCursor(Qt::PointingHandCursor);
    add_->setFont(TypeScale::font(12));
    add_->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0; color: palette(highlight); }"));
    date_->setAccessibleName(QStringLiteral("Due"));
    date_->setCalendarPopup(true);
    date_->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    date_->setFont(TypeScale::font(12));
    date_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    remove_->setToolTip(QStringLiteral("Remove the due date"));
    remove_->setAccessibleName(QStringLiteral("Remove the due date"));

    auto* datedLayout = new QHBoxLayout(dated_);
    datedLayout->setContentsMargins(0, 0, 0, 0);
    datedLayout->setSpacing(4);
    datedLayout->addWidget(calendar_);
    datedLayout->addWidget(date_);
    datedLayout->addWidget(remove_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(add_);
    layout->addWidget(dated_);

    connect(add_, &QPushButton::clicked, this, [this] { onChange(startOfTomorrow(clock_.now())); });
    connect(remove_, &SymbolButton::clicked, this, [this] { onChange(std::nullopt); });
    connect(date_, &QDateEdit::dateChanged, this, &DueControl::dateEdited);
    setDue(std::nullopt, false);
}

void DueControl::setDue(const std::optional<QDateTime>& due, bool overdue) {
    due_ = due;
    add_->setVisible(!due);
    dated_->setVisible(due.has_value());
    if (!due)
        return;
    calendar_->setSymbol(QStringLiteral("calendar"), overdue ? Ink::fixed(Tint::orange()) : Ink::of(Hierarchy::secondary));
    const QSignalBlocker quiet(date_);
    date_->setDate(due->toLocalTime().date());
}

std::optional<QDateTime> DueControl::startOfTomorrow(const QDateTime& now) {
    const QDateTime tomorrow = now.toLocalTime().date().addDays(1).startOfDay();
    if (!tomorrow.isValid())
        return std::nullopt;
    return tomorrow.toUTC();
}

void DueControl::dateEdited(const QDate& date) {
    if (!due_)
        return;
    // The field edits the day only; the time of day the commitment already had stays.
    const QDateTime local = due_->toLocalTime();
    onChange(QDateTime(date, local.time(), Qt::LocalTime).toUTC());
}

} // namespace lumeno
