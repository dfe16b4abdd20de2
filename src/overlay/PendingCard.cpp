#include "overlay/PendingCard.h"

#include "overlay/FittingText.h"
#include "overlay/OverlayControls.h"
#include "overlay/OverlayModel.h"
#include "ui/ActionButton.h"
#include "ui/SymbolButton.h"
#include "ui/SymbolView.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace lumeno {

namespace {
// The notes say where to click and what to press last, with an application's name in some: in this
// desktop's font the longest need three lines, and one cut short would hide the step that matters.
constexpr int noteLines = 4;
} // namespace

PendingCard::PendingCard(OverlayModel& model, QWidget* parent)
    : QWidget(parent), model_(model), note_(new FittingText({13, QFont::Medium, noteLines, 320, Qt::ElideRight, false}, this)),
      details_(OverlayControls::detailsButton([&model] { model.showDetails(); }, this)),
      draft_(new FittingText({12, QFont::Normal, 3, 380, Qt::ElideRight, true}, this)) {
    note_->setObjectName(QStringLiteral("pendingNote"));
    draft_->setObjectName(QStringLiteral("pendingDraft"));

    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(new SymbolView(QStringLiteral("text.cursor"), 13, Ink::accent(), this));
    top->addWidget(note_);
    top->addSpacerItem(new QSpacerItem(8, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    top->addWidget(details_);
    top->addWidget(OverlayControls::closeButton([&model] { model.cancel(); }, this));

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(OverlayControls::button(QStringLiteral("Insert"), true, QStringLiteral("insertButton"),
                                               [&model] { model.insertPending(); }, this));
    buttons->addWidget(OverlayControls::button(QStringLiteral("Copy"), false, QStringLiteral("copyButton"),
                                               [&model] { model.copyPending(); }, this));
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(8);
    layout->addLayout(top);
    layout->addWidget(draft_, 0, Qt::AlignLeft);
    layout->addLayout(buttons);
    setFixedWidth(440);

    for (auto changed : {&OverlayModel::pendingNoteChanged, &OverlayModel::pendingDraftChanged,
                         &OverlayModel::hotkeyNameChanged, &OverlayModel::showsDetailsButtonChanged})
        connect(&model_, changed, this, &PendingCard::refresh);
    refresh();
}

QString PendingCard::note(const OverlayModel& model) {
    return model.pendingNote().value_or(QStringLiteral("Draft ready. Click into the reply box, then tap ")
                                        + model.hotkeyName() + QStringLiteral("."));
}

void PendingCard::refresh() {
    note_->setText(note(model_));
    details_->setVisible(model_.showsDetailsButton());
    draft_->setVisible(model_.pendingDraft().has_value());
    draft_->setText(model_.pendingDraft().value_or(QString()));
}

} // namespace lumeno
