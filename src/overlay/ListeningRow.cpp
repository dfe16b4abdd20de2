#include "overlay/ListeningRow.h"

#include "overlay/Badges.h"
#include "overlay/FittingText.h"
#include "overlay/LevelBars.h"
#include "overlay/OverlayControls.h"
#include "overlay/OverlayModel.h"
#include "ui/CapsuleLabel.h"
#include "ui/SymbolButton.h"

#include <QHBoxLayout>

namespace lumeno {

ListeningRow::ListeningRow(OverlayModel& model, AnimationClock clock, QWidget* parent)
    : QWidget(parent), model_(model), editTag_(OverlayControls::editTag(this)), bars_(new LevelBars(clock, this)),
      text_(new FittingText({13, QFont::Normal, 1, 340, Qt::ElideRight, true}, this)) {
    bars_->setObjectName(QStringLiteral("levelBars"));
    text_->setObjectName(QStringLiteral("listeningText"));
    text_->setMinimumWidth(96);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(editTag_);
    layout->addWidget(bars_);
    layout->addWidget(text_);
    layout->addWidget(new Badges(model, this));
    layout->addWidget(OverlayControls::closeButton([&model] { model.cancel(); }, this));

    connect(&model_, &OverlayModel::levelChanged, this, [this] { bars_->setLevel(model_.level()); });
    for (auto changed : {&OverlayModel::transcriptChanged, &OverlayModel::handsFreeChanged,
                         &OverlayModel::hotkeyNameChanged, &OverlayModel::isEditingChanged})
        connect(&model_, changed, this, &ListeningRow::refresh);
    bars_->setLevel(model_.level());
    refresh();
}

QString ListeningRow::placeholderOrTranscript(const OverlayModel& model) {
    if (!model.transcript().isEmpty())
        return model.transcript();
    const QString base = model.isEditing() ? QStringLiteral("Say how to change it…") : QStringLiteral("Listening…");
    return model.handsFree() ? base + QStringLiteral(" tap ") + model.hotkeyName() + QStringLiteral(" to finish") : base;
}

void ListeningRow::refresh() {
    editTag_->setVisible(model_.isEditing());
    const bool heard = !model_.transcript().isEmpty();
    FittingText::Style style = text_->style();
    // The newest words matter most: a long transcript is cut at its start.
    style.truncation = heard ? Qt::ElideLeft : Qt::ElideRight;
    style.secondary = !heard;
    text_->setStyle(style);
    text_->setText(placeholderOrTranscript(model_));
}

} // namespace lumeno
