#include "overlay/DraftingRow.h"

#include "overlay/Badges.h"
#include "overlay/FittingText.h"
#include "overlay/OverlayControls.h"
#include "overlay/OverlayModel.h"
#include "ui/CapsuleLabel.h"
#include "ui/SymbolButton.h"
#include "ui/Spinner.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace lumeno {

DraftingRow::DraftingRow(OverlayModel& model, AnimationClock clock, QWidget* parent)
    : QWidget(parent), model_(model), editTag_(OverlayControls::editTag(this)),
      title_(new FittingText({13, QFont::Medium, 1, 280, Qt::ElideRight, false}, this)),
      transcript_(new FittingText({12, QFont::Normal, 2, 300, Qt::ElideRight, true}, this)) {
    title_->setObjectName(QStringLiteral("draftingTitle"));
    transcript_->setObjectName(QStringLiteral("draftingTranscript"));
    auto* spinner = new Spinner(clock, 16, this);
    spinner->setObjectName(QStringLiteral("spinner"));

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(title_, 0, Qt::AlignLeft);
    texts->addWidget(transcript_, 0, Qt::AlignLeft);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(editTag_);
    layout->addWidget(spinner);
    layout->addLayout(texts);
    layout->addWidget(new Badges(model, this));
    layout->addWidget(OverlayControls::closeButton([&model] { model.cancel(); }, this));

    for (auto changed : {&OverlayModel::phaseChanged, &OverlayModel::isEditingChanged, &OverlayModel::transcriptChanged})
        connect(&model_, changed, this, &DraftingRow::refresh);
    refresh();
}

QString DraftingRow::title(const OverlayModel& model) {
    if (model.phase() == OverlayPhase::transcribing)
        return QStringLiteral("Got it…");
    return model.isEditing() ? QStringLiteral("Editing…") : QStringLiteral("Drafting reply…");
}

void DraftingRow::refresh() {
    editTag_->setVisible(model_.isEditing());
    title_->setText(title(model_));
    transcript_->setVisible(!model_.transcript().isEmpty());
    transcript_->setText(QStringLiteral("“") + model_.transcript() + QStringLiteral("”"));
}

} // namespace lumeno
