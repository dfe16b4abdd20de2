#pragma once

#include "app/ConversationRead.h"
#include "drafting/DraftInput.h"
#include "foundation/Surface.h"
#include "memory/MemoryDetector.h"
#include "overlay/OverlayMessage.h"
#include "overlay/PersonChoice.h"
#include "screen/EditRequest.h"
#include "screen/FocusSnapshot.h"
#include "screen/PackedContext.h"
#include "support/CancelToken.h"

#include <QCoroTask>
#include <QUuid>

#include <optional>
#include <vector>

namespace lumeno {

class Clock;
class ContextPacker;
class FocusInspector;
class MemoryStore;
class ScreenReader;
class SettingsStore;
class StyleStore;
class Workspace;
struct Person;

// Reads what a draft is made from while the user speaks, and keeps it for the one dictation: the focused
// field, the text an edit rewrites, the conversation around the field packed as context, and the person
// the reply goes to, matched from the thread or picked by the user.
class ContextReader {
public:
    struct Services {
        SettingsStore& settings;
        FocusInspector& focus;
        ScreenReader& screenReader;
        ContextPacker& contextPacker;
        MemoryStore& memory;
        StyleStore& style;
        Workspace& workspace;
        const Clock& clock;
    };

    static constexpr int maxEditCharacters = 1200;
    static constexpr int maxSurroundingCharacters = 8000;

    explicit ContextReader(Services services) : s_(services) {}

    // Forgets what was read for the last dictation.
    void reset();

    void setTarget(std::optional<FocusSnapshot> target) { target_ = std::move(target); }
    const std::optional<FocusSnapshot>& target() const { return target_; }
    Surface surface() const;

    // Finds the text an edit rewrites: the selection, else the whole message in the field. Without one, or
    // with one it cannot rewrite, the message says why; `editKey` is the edit key's name for it.
    QCoro::Task<std::optional<OverlayMessage>> readEditTarget(QString editKey, CancelToken token);
    const std::optional<EditRequest>& editRequest() const { return editRequest_; }

    // Reads the conversation around the field, unless a rule keeps it unread, and packs the context from it
    // or from a selection or copy.
    QCoro::Task<ConversationRead> readConversation(bool editing, CancelToken token);
    // Packs the context; a copy on the clipboard may need reading first. Ends without a change when
    // `token` is cancelled meanwhile.
    QCoro::Task<> pack(ConversationRead read, bool editing, CancelToken token);
    const std::optional<PackedContext>& packedContext() const { return packedContext_; }

    // Matches the person the reply goes to; one the user picked stays picked. Returns the name of the
    // matched Memory card, if any.
    std::optional<QString> matchPerson();
    void pickPerson(const std::optional<QUuid>& id);
    bool personPicked() const { return personPicked_; }
    std::optional<Person> person() const;
    // The name the overlay shows as the reply's recipient.
    std::optional<QString> personBadge() const;
    // Whether the user might want another person than the one matched, and so is offered the choice.
    bool offersPersonChoice() const { return offersPersonChoice_; }
    std::vector<PersonChoice> personChoices() const;
    const std::optional<QString>& partner() const { return partner_; }
    const std::optional<MemoryDetector::Addressed>& addressed() const { return addressed_; }

    DraftInput input(const QString& intent, const QString& detectedLanguage, bool withContext, bool editing) const;

private:
    QStringList ownNames() const;
    std::optional<Person> personForReply(Surface surface, const std::optional<QString>& title) const;
    std::optional<QString> replyAddressee() const;

    Services s_;
    std::optional<FocusSnapshot> target_;
    std::optional<EditRequest> editRequest_;
    std::optional<PackedContext> packedContext_;
    std::optional<QUuid> personID_;
    bool personPicked_ = false;
    bool offersPersonChoice_ = false;
    std::optional<QString> partner_;
    std::optional<MemoryDetector::Addressed> addressed_;
};

} // namespace lumeno
