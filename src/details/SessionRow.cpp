#include "details/SessionRow.h"

#include "details/RecordDateFormat.h"
#include "ui/SymbolView.h"
#include "ui/TextLabel.h"
#include "ui/TypeScale.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace lumeno {

SessionRow::SessionRow(const DraftDetails& details, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("sessionRow"));
    const bool edit = details.kind == DraftDetails::Kind::edit;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 2, 8, 2);
    layout->setSpacing(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(5);
    auto* icon = new SymbolView(edit ? QStringLiteral("pencil") : QStringLiteral("text.bubble"), 13,
                                Ink::of(Hierarchy::secondary), this);
    icon->setObjectName(QStringLiteral("kindSymbol"));
    top->addWidget(icon);
    auto* kind = new QLabel(edit ? QStringLiteral("Edit") : QStringLiteral("Reply"), this);
    kind->setObjectName(QStringLiteral("kind"));
    kind->setFont(TypeScale::font(13, QFont::Medium));
    top->addWidget(kind);
    QLabel* app = new TextLabel(details.field ? details.field->app : QString(), this, Hierarchy::secondary);
    app->setObjectName(QStringLiteral("app"));
    top->addWidget(app, 1);
    layout->addLayout(top);

    QString when = RecordDateFormat::shortTime(details.date);
    if (details.outcome)
        when += QStringLiteral(" · ") + *details.outcome;
    QLabel* second = new TextLabel(when, this, Hierarchy::secondary);
    second->setObjectName(QStringLiteral("timeAndOutcome"));
    second->setFont(TypeScale::caption());
    layout->addWidget(second);
}

} // namespace lumeno
