// Gathering what the draft is made from while the user speaks, and showing it on the overlay: the text an
// edit rewrites, the context the conversation gives, and the person the reply goes to.
#include "app/ReplyLoop.h"

#include "overlay/CaptureOverlay.h"

namespace lumeno {

namespace {

QString badge(PackedContext::Source source) {
    switch (source) {
    case PackedContext::Source::selection:
        return QStringLiteral("Selection");
    case PackedContext::Source::screen:
        return QStringLiteral("Conversation");
    case PackedContext::Source::clipboard:
        break;
    }
    return QStringLiteral("Clipboard");
}

} // namespace

QCoro::Task<std::optional<OverlayMessage>> ReplyLoop::readEditTarget(CancelToken token) {
    const std::optional<OverlayMessage> message = co_await context_.readEditTarget(editHotkeyName(), token);
    if (token.isCancelled() || message)
        co_return message;
    const bool selection = context_.editRequest()->scope == EditRequest::Scope::selection;
    s_.overlay.model().setEditTarget(selection ? QStringLiteral("Selection") : QStringLiteral("Whole message"));
    relayoutIfVisible();
    refreshListeningDebug();
    co_return std::nullopt;
}

QCoro::Task<> ReplyLoop::gatherContext(CancelToken token) {
    const ConversationRead read = co_await context_.readConversation(editing_, token);
    if (token.isCancelled())
        co_return;
    co_await context_.pack(read, editing_, token);
    if (token.isCancelled())
        co_return;
    const std::optional<PackedContext>& packed = context_.packedContext();
    OverlayModel& model = s_.overlay.model();
    model.setContextBadge(packed ? std::optional<QString>(badge(packed->source)) : std::nullopt);
    if (packed)
        model.setContextEnabled(true);
    recorder_.readConversation(read, packed);
    const std::optional<QString> matched = context_.matchPerson();
    showPerson();
    if (context_.offersPersonChoice())
        model.setPersonChoices(context_.personChoices());
    recorder_.foundRecipient(context_.addressed(), matched, context_.partner(), context_.surface());
    relayoutIfVisible();
    refreshListeningDebug();
}

void ReplyLoop::pickPerson(const std::optional<QUuid>& id) {
    context_.pickPerson(id);
    showPerson();
    relayoutIfVisible();
    refreshListeningDebug();
}

void ReplyLoop::showPerson() {
    s_.overlay.model().setPersonBadge(context_.personBadge());
}

} // namespace lumeno
