#include "overlay/InsertedRow.h"

#include "memory/SaveOffer.h"
#include "overlay/FittingText.h"
#include "overlay/OverlayControls.h"
#include "overlay/OverlayModel.h"
#include "support/Text.h"
#include "ui/ActionButton.h"
#include "ui/CapsuleButton.h"
#include "ui/Discard.h"
#include "ui/SymbolButton.h"
#include "ui/SymbolView.h"
#include "ui/Tint.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace lumeno {

namespace {

CapsuleContent chipContent(const SaveOffer& offer, bool saved) {
    CapsuleStyle style;
    style.fontSize = 12;
    style.weight = QFont::Medium;
    style.foreground = saved ? Ink::fixed(Tint::green()) : Ink::of(Hierarchy::primary);
    style.fill = Ink::of(Hierarchy::quaternary);
    style.padding = {9, 4, 9, 4};
    return saved ? CapsuleContent{QStringLiteral("Saved to Memory"), QStringLiteral("checkmark"), style}
                 : CapsuleContent{InsertedRow::chipTitle(offer.title()), offer.symbol(), style};
}

} // namespace

InsertedRow::InsertedRow(OverlayModel& model, QWidget* parent)
    : QWidget(parent), model_(model), note_(new FittingText({13, QFont::Normal, 2, 340, Qt::ElideRight, false}, this)),
      undo_(OverlayControls::button(QStringLiteral("Undo"), false, QStringLiteral("undoButton"),
                                    [&model] { model.undoEdit(); }, this)),
      copyOriginal_(OverlayControls::button(QStringLiteral("Copy Original"), false, QStringLiteral("copyOriginalButton"),
                                            [&model] { model.copyOriginal(); }, this)),
      details_(OverlayControls::detailsButton([&model] { model.showDetails(); }, this)),
      close_(OverlayControls::closeButton([&model] { model.cancel(); }, this)),
      closeSpacer_(new QSpacerItem(8, 0, QSizePolicy::Expanding, QSizePolicy::Minimum)) {
    note_->setObjectName(QStringLiteral("insertedNote"));
    undo_->setToolTip(QStringLiteral("Put the original text back (the same as Ctrl+Z in the app)"));
    copyOriginal_->setToolTip(QStringLiteral("Copy the text as it was before the edit"));

    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(new SymbolView(QStringLiteral("checkmark.circle.fill"), 15, Ink::fixed(Tint::green()), this));
    top->addWidget(note_);
    top->addWidget(undo_);
    top->addWidget(copyOriginal_);
    top->addWidget(details_);
    top->addSpacerItem(closeSpacer_);
    top->addWidget(close_);

    layout_ = new QVBoxLayout(this);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(8);
    layout_->addLayout(top);

    for (auto changed : {&OverlayModel::insertedNoteChanged, &OverlayModel::editedOriginalChanged,
                         &OverlayModel::showsDetailsButtonChanged, &OverlayModel::offersChanged})
        connect(&model_, changed, this, &InsertedRow::refresh);
    connect(&model_, &OverlayModel::savedOffersChanged, this, &InsertedRow::rebuildChips);
    refresh();
}

QString InsertedRow::chipTitle(const QString& title) {
    return Text::graphemeCount(title) >= 57 ? Text::graphemePrefix(title, 54) + QStringLiteral("…") : title;
}

void InsertedRow::refresh() {
    note_->setText(model_.insertedNote().value_or(QStringLiteral("Inserted. Review it, then press Send.")));
    const bool edited = model_.editedOriginal().has_value();
    undo_->setVisible(edited);
    copyOriginal_->setVisible(edited);
    details_->setVisible(model_.showsDetailsButton());
    // A plain insert goes away by itself; offers and an edit keep the user busy, so they get a way out.
    const bool closable = edited || !model_.offers().empty();
    close_->setVisible(closable);
    closeSpacer_->changeSize(closable ? 8 : 0, 0, closable ? QSizePolicy::Expanding : QSizePolicy::Fixed,
                             QSizePolicy::Minimum);
    rebuildChips();
}

QWidget* InsertedRow::chip(const SaveOffer& offer) {
    const bool saved = model_.savedOffers().contains(offer.id);
    auto* chip = new CapsuleButton(chipContent(offer, saved));
    chip->setObjectName(QStringLiteral("offerChip"));
    chip->setEnabled(!saved);
    chip->setToolTip(saved ? QStringLiteral("Saved. Edit or delete it in Memory.")
                           : QStringLiteral("Save to Memory. Ignore it and nothing is stored."));
    connect(chip, &CapsuleButton::clicked, this, [this, offer] { model_.acceptOffer(offer); });
    return chip;
}

void InsertedRow::rebuildChips() {
    discardLater(chips_);
    chips_ = nullptr;
    const auto& offers = model_.offers();
    if (!offers.empty()) {
        chips_ = new QWidget(this);
        chips_->setObjectName(QStringLiteral("offerChips"));
        // Two chips fit side by side; more would make the panel too wide, so they stack.
        QBoxLayout* chipLayout = offers.size() <= 2 ? static_cast<QBoxLayout*>(new QHBoxLayout(chips_))
                                                    : static_cast<QBoxLayout*>(new QVBoxLayout(chips_));
        chipLayout->setContentsMargins(0, 0, 0, 0);
        chipLayout->setSpacing(6);
        for (const SaveOffer& offer : offers)
            chipLayout->addWidget(chip(offer), 0, Qt::AlignLeft);
        layout_->addWidget(chips_, 0, Qt::AlignLeft);
        // Shown now, not on a later turn of the event loop as a widget added to a visible row would be:
        // the panel is measured right after this and must count the chips.
        chips_->show();
    }
    layout_->invalidate();
    updateGeometry();
}

} // namespace lumeno
