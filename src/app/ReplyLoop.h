#pragma once

#include "app/ConversationRead.h"
#include "app/DraftRecorder.h"
#include "app/LoopWork.h"
#include "app/TriggerLogic.h"
#include "details/DraftDetails.h"
#include "drafting/DraftInput.h"
#include "foundation/PermissionsGate.h"
#include "foundation/SettingsTab.h"
#include "memory/MemoryDetector.h"
#include "overlay/OverlayAction.h"
#include "overlay/OverlayMessage.h"
#include "screen/FieldInserter.h"
#include "screen/FocusSnapshot.h"
#include "screen/PackedContext.h"
#include "screen/ScreenReader.h"
#include "support/Scheduler.h"
#include "voice/HotkeyEvent.h"

#include <QObject>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

namespace lumeno {

class AccountStore;
class CaptureOverlay;
class Clock;
class ConfirmSaveFlow;
class ContextPacker;
class DraftDetailsStore;
class DraftGenerator;
class FocusInspector;
class KeySynth;
class KeyboardLayout;
class ListeningDebug;
class MemoryStore;
class Pasteboard;
class SentWatcher;
class SettingsStore;
class SpeechCapture;
class StyleStore;
class Workspace;
struct Person;
struct SaveOffer;

// Runs one dictation at a time, from the hot-key press to the inserted draft: listens, reads the field and
// the conversation around it, drafts through the server, pastes into the field and shows on the overlay
// what happened. Every step that waits runs as LoopWork and checks its token, and the loop's own
// QPointer, after each await, so a newer dictation or a cancel silences an older one.
//
// The implementation is split by concern: commands and messages (ReplyLoop.cpp), starting
// (ReplyLoopStart.cpp), reading the context (ReplyLoopContext.cpp), finishing and drafting
// (ReplyLoopFinish.cpp), inserting and the outcomes (ReplyLoopInsert.cpp) and the listening diagnostics
// (ReplyLoopDiagnostics.cpp). What happened is told to the DraftRecorder, which keeps the draft record.
class ReplyLoop : public QObject {
    Q_OBJECT
public:
    struct Services {
        SettingsStore& settings;
        AccountStore& account;
        PermissionsGate& permissions;
        CaptureOverlay& overlay;
        SpeechCapture& speech;
        DraftGenerator& generator;
        FieldInserter& inserter;
        ContextPacker& contextPacker;
        StyleStore& style;
        MemoryStore& memory;
        DraftDetailsStore& details;
        ConfirmSaveFlow& confirmFlow;
        SentWatcher& sentWatcher;
        ListeningDebug& listeningDebug;
        FocusInspector& focus;
        ScreenReader& screenReader;
        Pasteboard& pasteboard;
        KeySynth& keys;
        Workspace& workspace;
        const KeyboardLayout& keyboardLayout;
        Scheduler& scheduler;
        const Clock& clock;
    };

    // Seconds of speech after which listening ends by itself.
    static constexpr double speechCapSeconds = 30;
    // How long a draft that found no field waits in the overlay.
    static constexpr double pendingTimeoutSeconds = 120;
    static constexpr int maxEditCharacters = 1200;
    static constexpr int maxSurroundingCharacters = 8000;
    static constexpr int maxNameHints = 50;

    explicit ReplyLoop(Services services, QObject* parent = nullptr);
    ~ReplyLoop() override;

    // Installed by the application model; each does nothing until then.
    std::function<void(SettingsTab)> openSettings = [](SettingsTab) {};
    std::function<void()> openDraftDetails = [] {};
    std::function<void()> openFirstRun = [] {};
    std::function<void(const QString&)> onDraft = [](const QString&) {};

    // Installs the callbacks between the loop, the overlay, speech, the inserter, the context packer and
    // the style store. Called once, right after the loop is built.
    void wire();
    // The only entry for hot-key events.
    void handle(const HotkeyEvent& event);
    // Ends whatever runs and hides the overlay at once.
    void cancel();
    void restoreSpeechHandlers();

    // Overlay actions (also reachable from tests and the menu).
    void pickPerson(const std::optional<QUuid>& id);
    void acceptOffer(const SaveOffer& offer);
    void insertPending();
    void copyPending();
    void undoEdit();
    void copyOriginal();
    void retry();
    // Shows the listening diagnostics while listening with draft details on, else hides them.
    void refreshListeningDebug();
    // Shows a message about Lumeno itself, not about a dictation, when nothing runs; false when busy.
    bool tell(const OverlayMessage& message);

    const TriggerLogic::Phase& phase() const { return phase_; }
    bool isEditing() const { return editing_; }

private:
    // Commands and messages.
    void carryOut(const TriggerLogic::Command& command);
    void act(const OverlayAction& action);
    void switchToEdit();
    void present(const OverlayMessage& message);
    void relayoutIfVisible();
    void cancelCapture();
    void cancelPendingTimeout();
    QString hotkeyName() const;
    QString editHotkeyName() const;
    QString keyNameForMode() const;

    // Starting.
    void begin(ListenMode mode, quint64 press, bool edit);
    std::optional<OverlayMessage> blocker();
    QStringList nameHints() const;
    void armSpeechCap();
    QCoro::Task<> speechCap(CancelToken token);
    QCoro::Task<> startTask(CancelToken token);
    static std::optional<OverlayMessage> refusal(const FocusSnapshot& snapshot);
    void refuse(const OverlayMessage& message);

    // Reading the context and the recipient.
    QCoro::Task<std::optional<OverlayMessage>> prepareEdit(std::optional<FocusSnapshot> target, CancelToken token);
    QCoro::Task<> gatherContext(std::optional<FocusSnapshot> target, CancelToken token);
    QCoro::Task<ConversationRead> readConversation(std::optional<FocusSnapshot> target);
    void matchPerson(const std::optional<FocusSnapshot>& target, const std::optional<PackedContext>& context);
    QStringList ownNames() const;
    std::optional<Person> personForReply(Surface surface, const std::optional<QString>& title) const;
    std::optional<QString> replyAddressee() const;
    Surface targetSurface() const;

    // Finishing and drafting.
    void finishListening();
    QCoro::Task<> finishTask(CancelToken token, std::shared_ptr<LoopWork> previous, ListenMode mode);
    OverlayMessage nothingHeard(float peak) const;
    DraftInput buildInput(const QString& intent, const QString& detectedLanguage) const;
    QCoro::Task<> draftAndInsert(DraftInput input, CancelToken token);

    // Inserting and the outcomes.
    QCoro::Task<> insert(QString text, std::optional<qint64> expectedPID, bool protectSelection,
                         CancelToken token);
    QCoro::Task<> replace(EditRequest request, QString text, CancelToken token);
    QCoro::Task<> insertPendingTask(QString text, CancelToken token);
    // Logs the inserter's outcome and notes the line-break check in the open record.
    void noteOutcome(const QString& logFormat, const FieldInserter::Outcome& outcome);
    void showPending(const QString& text, const std::optional<QString>& note);
    std::optional<QString> pendingNote(FieldInserter::PendingReason reason) const;
    void showInserted();
    std::vector<SaveOffer> saveOffers() const;
    void showEdited(const EditRequest& request);
    void copyToPasteboard(const QString& text);
    void setPendingNote(const QString& note);

    // Listening diagnostics.
    void hideListeningDebug();
    QString debugPerson() const;
    QString debugThread() const;
    QString debugOther() const;

    void startWork(QCoro::Task<> body, CancelToken token);
    void cancelWork();

    Services s_;
    DraftRecorder recorder_;
    TriggerLogic::Phase phase_ = TriggerLogic::Phase::idle();
    std::optional<quint64> consumedPress_;
    std::optional<FocusSnapshot> target_;
    std::optional<PackedContext> packedContext_;
    std::optional<QUuid> personID_;
    bool personPicked_ = false;
    std::optional<QString> partner_;
    std::optional<QUuid> savedPersonID_;
    std::shared_ptr<LoopWork> work_;
    std::optional<CancelToken> speechCap_;
    std::optional<DraftInput> lastInput_;
    std::optional<QString> lastDraft_;
    std::optional<Scheduler::TimerId> pendingTimeout_;
    bool editing_ = false;
    std::optional<EditRequest> editRequest_;
    std::optional<MemoryDetector::Addressed> addressed_;
};

} // namespace lumeno
