#include "overlay/OverlayModel.h"

namespace lumeno {

OverlayModel::OverlayModel(QObject* parent) : QObject(parent) {}

template <typename T>
void OverlayModel::assign(T& field, const T& value, void (OverlayModel::*changed)()) {
    if (field == value)
        return;
    field = value;
    emit(this->*changed)();
}

void OverlayModel::setPhase(OverlayPhase phase) { assign(phase_, phase, &OverlayModel::phaseChanged); }
void OverlayModel::setLevel(float level) { assign(level_, level, &OverlayModel::levelChanged); }
void OverlayModel::setTranscript(const QString& transcript) {
    assign(transcript_, transcript, &OverlayModel::transcriptChanged);
}
void OverlayModel::setHandsFree(bool handsFree) { assign(handsFree_, handsFree, &OverlayModel::handsFreeChanged); }
void OverlayModel::setHotkeyName(const QString& name) { assign(hotkeyName_, name, &OverlayModel::hotkeyNameChanged); }
void OverlayModel::setContextBadge(const std::optional<QString>& badge) {
    assign(contextBadge_, badge, &OverlayModel::contextBadgeChanged);
}
void OverlayModel::setContextEnabled(bool enabled) {
    assign(contextEnabled_, enabled, &OverlayModel::contextEnabledChanged);
}
void OverlayModel::setPersonBadge(const std::optional<QString>& badge) {
    assign(personBadge_, badge, &OverlayModel::personBadgeChanged);
}
void OverlayModel::setPersonChoices(const std::vector<PersonChoice>& choices) {
    assign(personChoices_, choices, &OverlayModel::personChoicesChanged);
}
void OverlayModel::setMessage(const std::optional<OverlayMessage>& message) {
    assign(message_, message, &OverlayModel::messageChanged);
}
void OverlayModel::setPendingDraft(const std::optional<QString>& draft) {
    assign(pendingDraft_, draft, &OverlayModel::pendingDraftChanged);
}
void OverlayModel::setPendingNote(const std::optional<QString>& note) {
    assign(pendingNote_, note, &OverlayModel::pendingNoteChanged);
}
void OverlayModel::setInsertedNote(const std::optional<QString>& note) {
    assign(insertedNote_, note, &OverlayModel::insertedNoteChanged);
}
void OverlayModel::setOffers(const std::vector<SaveOffer>& offers) {
    assign(offers_, offers, &OverlayModel::offersChanged);
}
void OverlayModel::setSavedOffers(const QSet<QUuid>& saved) {
    assign(savedOffers_, saved, &OverlayModel::savedOffersChanged);
}
void OverlayModel::setIsEditing(bool editing) { assign(isEditing_, editing, &OverlayModel::isEditingChanged); }
void OverlayModel::setEditTarget(const std::optional<QString>& target) {
    assign(editTarget_, target, &OverlayModel::editTargetChanged);
}
void OverlayModel::setEditedOriginal(const std::optional<QString>& original) {
    assign(editedOriginal_, original, &OverlayModel::editedOriginalChanged);
}
void OverlayModel::setShowsDetailsButton(bool shows) {
    assign(showsDetailsButton_, shows, &OverlayModel::showsDetailsButtonChanged);
}

void OverlayModel::reset() {
    setLevel(0);
    setTranscript({});
    setHandsFree(false);
    setContextBadge(std::nullopt);
    setContextEnabled(true);
    setPersonBadge(std::nullopt);
    setPersonChoices({});
    setMessage(std::nullopt);
    setPendingDraft(std::nullopt);
    setPendingNote(std::nullopt);
    setInsertedNote(std::nullopt);
    setOffers({});
    setSavedOffers({});
    setIsEditing(false);
    setEditTarget(std::nullopt);
    setEditedOriginal(std::nullopt);
}

} // namespace lumeno
