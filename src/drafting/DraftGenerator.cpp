#include "drafting/DraftGenerator.h"

#include "drafting/DraftCleaner.h"
#include "drafting/DraftError.h"
#include "drafting/DraftLayout.h"
#include "drafting/PromptBuilder.h"
#include "drafting/ReplyGuard.h"
#include "foundation/SettingsStore.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "support/Text.h"

#include <algorithm>

namespace lumeno {
namespace {

QCoro::Task<DraftReply> notConnected(DraftPrompt, CancelToken) {
    throw DraftError::server(QStringLiteral("This build isn't connected to a Lumeno server."));
    co_return DraftReply{};
}

// Letters, digits or emoji: quotes, fences and punctuation alone are no message.
bool saysAnything(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.isLetterOrNumber() || c.category() == QChar::Symbol_Other || c.isSurrogate();
    });
}

QString signNameOf(const DraftInput& input) {
    const QString signAs = Text::trimmed(input.style.signAsName);
    return signAs.isEmpty() ? Text::trimmed(input.userName) : signAs;
}

DraftLayout::Signature signatureOf(const DraftInput& input) {
    QStringList ownNames{input.userName, input.style.signAsName, input.style.name};
    if (input.ownAlias)
        ownNames.append(*input.ownAlias);
    return DraftLayout::Signature{input.style.emailSignOff, signNameOf(input), ownNames};
}

} // namespace

DraftGenerator::DraftGenerator(const SettingsStore& settings, const Clock& clock)
    : send(notConnected), settings_(settings), clock_(clock) {}

QCoro::Task<DraftResult> DraftGenerator::compose(DraftInput input, CancelToken cancel) {
    const DraftPrompt prompt = PromptBuilder::prompt(input);
    const QDateTime started = clock_.now();
    const DraftReply reply = co_await send(prompt, cancel);
    const double seconds = started.msecsTo(clock_.now()) / 1000.0;

    const QString text = finished(reply.text, input, prompt.tokenLimit);
    if (text.isEmpty())
        throw DraftError::emptyResponse();

    const ProviderKind provider =
        reply.provider.value_or(fromRawValue<ProviderKind>(settings_.provider()).value_or(ProviderKind::anthropic));
    const QString model = reply.model.value_or(provider == ProviderKind::anthropic ? settings_.anthropicModel()
                                                                                   : settings_.openAIModel());
    Log::draft.info(QStringLiteral("Draft ready: %{public}ld chars from %{public}s/%{public}s in %{public}ss"),
                    {qint64(text.size()), rawValue(provider), model, QString::number(seconds, 'f', 1)});
    co_return DraftResult{text, reply.text, prompt, provider, model, seconds};
}

QString DraftGenerator::finished(const QString& modelText, const DraftInput& input, int tokenLimit) {
    const QString addressee = input.addressee.value_or(input.person ? input.person->name : QString());
    const QString cleaned = DraftCleaner::cleaned(modelText, {signNameOf(input), addressee});
    if (!saysAnything(cleaned))
        return {};
    const QString guarded = ReplyGuard::guarded(cleaned, tokenLimit);
    if (input.edit)
        return guarded; // a rewrite keeps the shape of the text it replaces
    const DraftLayout::Signature signature = signatureOf(input);
    switch (input.surface) {
    case Surface::email: return DraftLayout::email(guarded, signature);
    case Surface::chat: return DraftLayout::chat(guarded, signature);
    case Surface::linkedIn:
    case Surface::other: return DraftLayout::plain(guarded, signature);
    }
    Q_UNREACHABLE();
}

} // namespace lumeno
