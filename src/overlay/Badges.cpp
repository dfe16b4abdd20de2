#include "overlay/Badges.h"

#include "overlay/OverlayControls.h"
#include "overlay/OverlayModel.h"
#include "support/Text.h"
#include "ui/CapsuleButton.h"
#include "ui/CapsuleLabel.h"
#include "ui/MenuText.h"

#include <QHBoxLayout>
#include <QMenu>

namespace lumeno {

Badges::Badges(OverlayModel& model, QWidget* parent)
    : QWidget(parent), model_(model),
      editTarget_(new CapsuleLabel(OverlayControls::badge({}, QStringLiteral("text.cursor"), false), this)),
      context_(new CapsuleButton(OverlayControls::badge({}, QStringLiteral("text.quote"), false), this)),
      personPicker_(new CapsuleButton(OverlayControls::badge({}, QStringLiteral("person.crop.circle"), false), this)),
      person_(new CapsuleLabel(OverlayControls::badge({}, QStringLiteral("person.crop.circle"), false), this)),
      personMenu_(new QMenu(this)) {
    editTarget_->setObjectName(QStringLiteral("editTargetBadge"));
    editTarget_->setToolTip(QStringLiteral("Edit mode changes this text"));
    context_->setObjectName(QStringLiteral("contextBadge"));
    personPicker_->setObjectName(QStringLiteral("personPicker"));
    person_->setObjectName(QStringLiteral("personBadge"));
    personMenu_->setObjectName(QStringLiteral("personMenu"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    for (QWidget* piece : {static_cast<QWidget*>(editTarget_), static_cast<QWidget*>(context_),
                           static_cast<QWidget*>(personPicker_), static_cast<QWidget*>(person_)})
        layout->addWidget(piece);

    connect(context_, &CapsuleButton::clicked, this, [this] { model_.toggleContext(); });
    connect(personPicker_, &CapsuleButton::clicked, this,
            [this] { personMenu_->popup(personPicker_->mapToGlobal(QPoint(0, personPicker_->height() + 4))); });

    for (auto changed : {&OverlayModel::editTargetChanged, &OverlayModel::contextBadgeChanged,
                         &OverlayModel::contextEnabledChanged, &OverlayModel::personBadgeChanged,
                         &OverlayModel::personChoicesChanged})
        connect(&model_, changed, this, &Badges::refresh);
    refresh();
}

void Badges::refresh() {
    const auto& editTarget = model_.editTarget();
    editTarget_->setVisible(editTarget.has_value());
    if (editTarget)
        editTarget_->setContent(OverlayControls::badge(*editTarget, QStringLiteral("text.cursor"), false));

    const auto& badge = model_.contextBadge();
    context_->setVisible(badge.has_value());
    if (badge) {
        const QString thread = Text::lowercased(*badge);
        if (model_.contextEnabled()) {
            context_->setContent(OverlayControls::badge(*badge, QStringLiteral("text.quote"), false));
            context_->setToolTip(QStringLiteral("Using your %1 as the thread. Click to leave it out.").arg(thread));
        } else {
            context_->setContent(OverlayControls::badge(QStringLiteral("No context"), QStringLiteral("text.badge.xmark"), true));
            context_->setToolTip(QStringLiteral("Click to use your %1 again.").arg(thread));
        }
    }

    const auto& person = model_.personBadge();
    const bool picks = !model_.personChoices().empty();
    personPicker_->setVisible(picks);
    person_->setVisible(!picks && person.has_value());
    if (picks) {
        personPicker_->setContent(
            OverlayControls::badge(person.value_or(QStringLiteral("Who?")), QStringLiteral("person.crop.circle"), !person));
        personPicker_->setToolTip(person ? QStringLiteral("Using your notes about %1. Click to pick someone else.").arg(*person)
                                         : QStringLiteral("Pick who this reply is to, to use your notes about them."));
        rebuildPersonMenu();
    } else if (person) {
        person_->setContent(OverlayControls::badge(*person, QStringLiteral("person.crop.circle"), false));
    }

    setVisible(editTarget || badge || picks || person);
    updateGeometry();
}

void Badges::rebuildPersonMenu() {
    personMenu_->clear();
    for (const PersonChoice& choice : model_.personChoices()) {
        const QUuid id = choice.id;
        personMenu_->addAction(menuText(choice.name), this, [this, id] { model_.pickPerson(id); });
    }
    if (model_.personBadge()) {
        personMenu_->addSeparator();
        personMenu_->addAction(QStringLiteral("No Person Card"), this, [this] { model_.pickPerson(std::nullopt); });
    }
}

} // namespace lumeno
