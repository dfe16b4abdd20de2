#pragma once

#include "app/ContextReader.h"
#include "app/DraftDelivery.h"
#include "app/DraftRecorder.h"
#include "app/ListeningDiagnostics.h"
#include "app/LoopWork.h"
#include "app/TriggerLogic.h"
#include "drafting/DraftInput.h"
#include "foundation/PermissionsGate.h"
#include "foundation/SettingsTab.h"
#include "overlay/OverlayAction.h"
#include "overlay/OverlayMessage.h"
#include "screen/FieldInserter.h"
#include "screen/FocusSnapshot.h"
#include "support/Scheduler.h"
#include "voice/HotkeyEvent.h"

#include <QObject>
#include <QUuid>

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

// Runs one dictation at a time, from the hot-key press to the inserted draft, and keeps the order of its
// steps: listen, read the field and the conversation around it (ContextReader), draft through the server,
// put the draft in the field (DraftDelivery), and show on the overlay what happened. What happened is told
// to the DraftRecorder, which keeps the draft record. Every step that waits runs as LoopWork and checks its
// token after each await; a newer dictation, a cancel and the loop's end all cancel it.
//
// The steps are split by file: commands and messages (ReplyLoop.cpp), starting (ReplyLoopStart.cpp),
// gathering the context (ReplyLoopContext.cpp), finishing and drafting (ReplyLoopFinish.cpp), and the
// outcomes with the overlay's actions on them (ReplyLoopInsert.cpp).
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
    static constexpr int maxNameHints = 50;

    explicit ReplyLoop(Services services, QObject* parent = nullptr);
    ~ReplyLoop() override;

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

signals:
    // The user asked, from the overlay, for a window the loop does not own.
    void settingsRequested(SettingsTab tab);
    void draftDetailsRequested();
    // A dictation needs the user signed in first.
    void firstRunRequested();
    // A draft came back from the server, before it is put in the field.
    void drafted(const QString& text);

private:
    // Commands and messages.
    void carryOut(const TriggerLogic::Command& command);
    void act(const OverlayAction& action);
    void switchToEdit();
    void present(const OverlayMessage& message);
    void end(const OverlayMessage& message);
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
    void cancelSpeechCap();
    QCoro::Task<> startTask(CancelToken token);
    static std::optional<OverlayMessage> refusal(const FocusSnapshot& snapshot);
    void refuse(const OverlayMessage& message);

    // Gathering the context.
    QCoro::Task<std::optional<OverlayMessage>> readEditTarget(CancelToken token);
    QCoro::Task<> gatherContext(CancelToken token);
    void showPerson();

    // Finishing and drafting.
    void finishListening();
    QCoro::Task<> finishTask(CancelToken token, std::shared_ptr<LoopWork> previous, ListenMode mode);
    OverlayMessage nothingHeard(float peak) const;
    QCoro::Task<> draftAndInsert(DraftInput input, CancelToken token);

    // The outcomes.
    QCoro::Task<> insert(QString text, bool protectSelection, CancelToken token);
    QCoro::Task<> replace(EditRequest request, QString text, CancelToken token);
    QCoro::Task<> insertPendingTask(QString text, CancelToken token);
    std::optional<qint64> targetPID() const;
    void showPending(const QString& text, const std::optional<QString>& note);
    void showInserted();
    // A dictation that was only a note to self: nothing to draft, the note offered for Memory.
    void showNoteOnly(const QString& dictation);
    void showOffers(const std::vector<SaveOffer>& offers);
    std::vector<SaveOffer> saveOffers() const;
    // The conversation thread's title kept with a pin: none outside a mail or chat.
    std::optional<QString> thread() const;
    void showEdited(const EditRequest& request);
    void setPendingNote(const std::optional<QString>& note);

    void startWork(QCoro::Task<> body, CancelToken token);
    void cancelWork();

    Services s_;
    DraftRecorder recorder_;
    ContextReader context_;
    DraftDelivery delivery_;
    ListeningDiagnostics diagnostics_;
    TriggerLogic::Phase phase_ = TriggerLogic::Phase::idle();
    std::optional<quint64> consumedPress_;
    std::optional<QUuid> savedPersonID_;
    std::shared_ptr<LoopWork> work_;
    std::optional<Scheduler::TimerId> speechCap_;
    std::optional<DraftInput> lastInput_;
    QString lastDictation_; // all that was heard for lastInput_, a note to self included
    std::optional<QString> lastDraft_;
    std::optional<Scheduler::TimerId> pendingTimeout_;
    bool editing_ = false;
};

} // namespace lumeno
