#pragma once

#include "memory/SaveOffer.h"
#include "overlay/OverlayAction.h"
#include "overlay/OverlayMessage.h"
#include "overlay/OverlayPhase.h"
#include "overlay/PersonChoice.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QUuid>

#include <optional>
#include <vector>

namespace lumeno {

// Everything the capture overlay shows, and the callbacks its buttons call. The reply loop writes the
// fields and installs the callbacks; the presenter sets the phase and resets the rest when the panel
// hides. Each setter tells observers only when the value really changes.
class OverlayModel : public QObject {
    Q_OBJECT
public:
    explicit OverlayModel(QObject* parent = nullptr);

    OverlayPhase phase() const { return phase_; }
    void setPhase(OverlayPhase phase);
    // Microphone input level, 0 to 1.
    float level() const { return level_; }
    void setLevel(float level);
    // The live transcript while listening.
    const QString& transcript() const { return transcript_; }
    void setTranscript(const QString& transcript);
    // Listening began with a tap and ends with the next one.
    bool handsFree() const { return handsFree_; }
    void setHandsFree(bool handsFree);
    const QString& hotkeyName() const { return hotkeyName_; }
    void setHotkeyName(const QString& name);
    // The context badge's text; none hides the badge.
    const std::optional<QString>& contextBadge() const { return contextBadge_; }
    void setContextBadge(const std::optional<QString>& badge);
    bool contextEnabled() const { return contextEnabled_; }
    void setContextEnabled(bool enabled);
    // The person whose notes the reply uses.
    const std::optional<QString>& personBadge() const { return personBadge_; }
    void setPersonBadge(const std::optional<QString>& badge);
    const std::vector<PersonChoice>& personChoices() const { return personChoices_; }
    void setPersonChoices(const std::vector<PersonChoice>& choices);
    const std::optional<OverlayMessage>& message() const { return message_; }
    void setMessage(const std::optional<OverlayMessage>& message);
    // A draft waiting for a field to go into, and the hint shown with it instead of the usual one.
    const std::optional<QString>& pendingDraft() const { return pendingDraft_; }
    void setPendingDraft(const std::optional<QString>& draft);
    const std::optional<QString>& pendingNote() const { return pendingNote_; }
    void setPendingNote(const std::optional<QString>& note);
    const std::optional<QString>& insertedNote() const { return insertedNote_; }
    void setInsertedNote(const std::optional<QString>& note);
    const std::vector<SaveOffer>& offers() const { return offers_; }
    void setOffers(const std::vector<SaveOffer>& offers);
    // The offers the user accepted, by id.
    const QSet<QUuid>& savedOffers() const { return savedOffers_; }
    void setSavedOffers(const QSet<QUuid>& saved);
    bool isEditing() const { return isEditing_; }
    void setIsEditing(bool editing);
    // "Selection" or "Whole message": what an edit changes.
    const std::optional<QString>& editTarget() const { return editTarget_; }
    void setEditTarget(const std::optional<QString>& target);
    // The text as it was before an edit, for undo and copy.
    const std::optional<QString>& editedOriginal() const { return editedOriginal_; }
    void setEditedOriginal(const std::optional<QString>& original);
    bool showsDetailsButton() const { return showsDetailsButton_; }
    void setShowsDetailsButton(bool shows);

    // Back to an empty dictation. The phase, the hot-key name and the details button stay.
    void reset();

    // What the overlay's controls call; each tells the reply loop through the signal below.
    void toggleContext() { emit contextToggleRequested(); }
    void pickPerson(std::optional<QUuid> id) { emit personPicked(id); }
    void acceptOffer(const SaveOffer& offer) { emit offerAccepted(offer); }
    void cancel() { emit cancelRequested(); }
    void act(const OverlayAction& action) { emit actionRequested(action); }
    void insertPending() { emit insertPendingRequested(); }
    void copyPending() { emit copyPendingRequested(); }
    void undoEdit() { emit undoEditRequested(); }
    void copyOriginal() { emit copyOriginalRequested(); }
    void showDetails() { emit detailsRequested(); }

signals:
    void contextToggleRequested();
    void personPicked(std::optional<QUuid> id);
    void offerAccepted(const SaveOffer& offer);
    void cancelRequested();
    void actionRequested(const OverlayAction& action);
    void insertPendingRequested();
    void copyPendingRequested();
    void undoEditRequested();
    void copyOriginalRequested();
    void detailsRequested();

    void phaseChanged();
    void levelChanged();
    void transcriptChanged();
    void handsFreeChanged();
    void hotkeyNameChanged();
    void contextBadgeChanged();
    void contextEnabledChanged();
    void personBadgeChanged();
    void personChoicesChanged();
    void messageChanged();
    void pendingDraftChanged();
    void pendingNoteChanged();
    void insertedNoteChanged();
    void offersChanged();
    void savedOffersChanged();
    void isEditingChanged();
    void editTargetChanged();
    void editedOriginalChanged();
    void showsDetailsButtonChanged();

private:
    template <typename T>
    void assign(T& field, const T& value, void (OverlayModel::*changed)());

    OverlayPhase phase_ = OverlayPhase::hidden;
    float level_ = 0;
    QString transcript_;
    bool handsFree_ = false;
    QString hotkeyName_ = QStringLiteral("Right Alt");
    std::optional<QString> contextBadge_;
    bool contextEnabled_ = true;
    std::optional<QString> personBadge_;
    std::vector<PersonChoice> personChoices_;
    std::optional<OverlayMessage> message_;
    std::optional<QString> pendingDraft_;
    std::optional<QString> pendingNote_;
    std::optional<QString> insertedNote_;
    std::vector<SaveOffer> offers_;
    QSet<QUuid> savedOffers_;
    bool isEditing_ = false;
    std::optional<QString> editTarget_;
    std::optional<QString> editedOriginal_;
    bool showsDetailsButton_ = false;
};

} // namespace lumeno
