#include "drafting/PromptBuilder.h"

#include "drafting/PromptWording.h"
#include "drafting/ReplyGuard.h"
#include "drafting/StyleEngine.h"
#include "foundation/ReplyLanguage.h"
#include "foundation/SecretRedactor.h"
#include "support/Regex.h"
#include "support/Text.h"

#include <QStringList>

#include <algorithm>

namespace lumeno {
namespace {

// The fences of quoted material. Every tag the prompts use is listed, so none can be forged from inside.
const QString conversationTag = QStringLiteral("conversation");
const QString dictationTag = QStringLiteral("dictation");
const QString instructionTag = QStringLiteral("instruction");
const QString rewriteTag = QStringLiteral("text_to_rewrite");
const QString surroundingTag = QStringLiteral("surrounding_text");
const QString personTag = QStringLiteral("person_card");
const QString sampleTag = QStringLiteral("writing_sample");
// Names read from the screen: a sender chooses their own display name, so it is quoted like the rest.
const QString recipientTag = QStringLiteral("recipient_name");
const QString aliasTag = QStringLiteral("user_alias");

// Anything in `text` that looks like one of our fence tags, made harmless: "<dictation>" becomes
// "‹dictation›", so quoted text can never open or close a fence.
QString defused(const QString& text) {
    static const Regex forgedTag = Regex::fixed(QStringLiteral(
        "(?i)<\\s*(/?\\s*(?:conversation|dictation|instruction|text_to_rewrite|surrounding_text|person_card|"
        "writing_sample|recipient_name|user_alias)\\b[^<>\\n]*)>?"));
    return forgedTag.replaceAll(text, QStringLiteral("‹$1›"));
}

QString paragraphs(const QStringList& parts) {
    QStringList kept;
    for (const QString& part : parts)
        if (!part.isEmpty())
            kept.append(part);
    return kept.join(QStringLiteral("\n\n"));
}

QString bulleted(const QString& heading, const QStringList& lines) {
    QStringList kept;
    for (const QString& line : lines)
        if (!line.isEmpty())
            kept.append(QStringLiteral("- ") + line);
    return kept.isEmpty() ? QString() : heading + u'\n' + kept.join(u'\n');
}

QString quoted(const QString& text) { return u'"' + text + u'"'; }

// "Where: Thunderbird, window "Re: Friday""
QString whereLine(const DraftInput& input) {
    QStringList parts;
    if (input.appName && !Text::trimmed(*input.appName).isEmpty())
        parts.append(Text::trimmed(*input.appName));
    if (const std::optional<QString> title = input.windowTitle ? PromptBuilder::windowTitle(*input.windowTitle)
                                                               : std::nullopt)
        parts.append(QStringLiteral("window ") + quoted(defused(*title)));
    return parts.isEmpty() ? QString() : QStringLiteral("Where: ") + parts.join(QStringLiteral(", "));
}

QString writerSection(const DraftInput& input) {
    const QString name = Text::trimmed(input.userName);
    const QString signName = Text::trimmed(input.style.signAsName);
    QStringList lines;
    if (!name.isEmpty())
        lines.append(QStringLiteral("The user's name is %1.").arg(name));
    if (!signName.isEmpty() && signName != name)
        lines.append(QStringLiteral("They sign their messages as %1.").arg(signName));
    const QString alias = input.ownAlias ? Text::trimmed(*input.ownAlias) : QString();
    if (!alias.isEmpty())
        lines.append(QStringLiteral("In the conversation the user appears under the name in <%1> below: messages "
                                    "from that name are the user's own, not the other side's.")
                         .arg(aliasTag));
    const QString section = bulleted(QStringLiteral("The writer:"), lines);
    return alias.isEmpty() ? section : section + u'\n' + PromptBuilder::fenced(aliasTag, alias);
}

QString recipientSection(const DraftInput& input) {
    const QString addressee = input.addressee ? Text::trimmed(*input.addressee) : QString();
    QStringList lines;
    if (!addressee.isEmpty())
        lines.append(QStringLiteral("The message goes to the person named in <%1> below.").arg(recipientTag));
    if (input.followingUp)
        lines.append(PromptWording::followUp(!addressee.isEmpty()));
    QString section = bulleted(QStringLiteral("The recipient:"), lines);
    if (!addressee.isEmpty())
        section += u'\n' + PromptBuilder::fenced(recipientTag, addressee);
    if (input.person) {
        const QString card = QStringLiteral(
                                 "What the user keeps in their notes about this person. Use it only where it "
                                 "helps the message, and never mention that notes exist:\n") +
                             PromptBuilder::fenced(personTag, input.person->rendered());
        section = paragraphs({section, card});
    }
    return section;
}

QString languageName(const QString& code) {
    const std::optional<ReplyLanguage> language = ReplyLanguage::withCode(code);
    return language ? language->name : QString();
}

QString languageSection(const DraftInput& input) {
    const QString spoken = input.spokenLanguage ? Text::trimmed(*input.spokenLanguage) : QString();
    const bool hasConversation = input.context && !Text::trimmed(input.context->text).isEmpty();
    const std::optional<QString> threadCode =
        hasConversation ? ReplyGuard::detectedLanguage(input.context->text) : std::nullopt;
    const QString thread = threadCode ? languageName(*threadCode) : QString();
    return PromptWording::language(input.edit.has_value(), hasConversation, thread, spoken);
}

QString samplesSection(const StyleProfile& style) {
    const QStringList samples = StyleEngine::chosenSamples(style);
    if (samples.isEmpty())
        return {};
    QStringList parts{QStringLiteral(
        "Messages the user really wrote. Copy their voice: word choice, sentence length, punctuation, how "
        "they greet and sign off, emoji or none. Never copy their content.")};
    for (const QString& sample : samples)
        parts.append(PromptBuilder::fenced(sampleTag, sample));
    return parts.join(u'\n');
}

QString styleSection(const StyleProfile& style) {
    return bulleted(QStringLiteral("Style:"), {PromptWording::length(style.length), PromptWording::tone(style.tone),
                                              PromptWording::formality(style.formality)});
}

QString replySystemPrompt(const DraftInput& input) {
    const QString signName = Text::trimmed(input.style.signAsName).isEmpty() ? Text::trimmed(input.userName)
                                                                             : Text::trimmed(input.style.signAsName);
    return paragraphs({
        PromptWording::replyRole(),
        QStringLiteral("Kind of message: ") +
            PromptWording::surface(input.surface, Text::trimmed(input.style.emailSignOff), signName),
        styleSection(input.style),
        writerSection(input),
        recipientSection(input),
        languageSection(input),
        samplesSection(input.style),
        PromptWording::replyRules(),
    });
}

QString editSystemPrompt(const DraftInput& input) {
    const EditRequest& edit = *input.edit;
    const bool inContext = edit.scope == EditRequest::Scope::selection && !Text::trimmed(edit.surrounding).isEmpty();
    return paragraphs({
        PromptWording::editRole(),
        QStringLiteral("Kind of text: ") +
            PromptWording::editSurface(input.surface, edit.scope == EditRequest::Scope::wholeField),
        writerSection(input),
        languageSection(input),
        samplesSection(input.style),
        PromptWording::editRules(inContext),
    });
}

QString contextBlock(const DraftInput& input) {
    if (!input.context || Text::trimmed(input.context->text).isEmpty())
        return input.edit ? QString() : QStringLiteral("There is no conversation on screen to go by.");
    return PromptWording::contextIntro(input.context->source, input.context->truncated) + u'\n' +
           PromptBuilder::fenced(conversationTag, input.context->text);
}

QString replyUserPrompt(const DraftInput& input) {
    return paragraphs({
        whereLine(input),
        contextBlock(input),
        QStringLiteral("What the user wants to say (dictated, so expect small transcription slips):\n") +
            PromptBuilder::fenced(dictationTag, input.intent),
    });
}

QString editUserPrompt(const DraftInput& input) {
    const EditRequest& edit = *input.edit;
    QString surrounding;
    if (edit.scope == EditRequest::Scope::selection && !Text::trimmed(edit.surrounding).isEmpty())
        surrounding = QStringLiteral("The text around it, for reference only:\n") +
                      PromptBuilder::fenced(surroundingTag, SecretRedactor::redact(edit.surrounding).text);
    return paragraphs({
        whereLine(input),
        contextBlock(input),
        QStringLiteral("The text to rewrite:\n") + PromptBuilder::fenced(rewriteTag, edit.original),
        surrounding,
        QStringLiteral("The user's instruction (dictated):\n") + PromptBuilder::fenced(instructionTag, input.intent),
    });
}

} // namespace

std::optional<QString> PromptBuilder::windowTitle(const QString& title) {
    const QString clean = Text::trimmed(SecretRedactor::redact(title).text);
    if (clean.isEmpty())
        return std::nullopt;
    return Text::trimmed(Text::graphemePrefix(clean, maxWindowTitleCharacters));
}

DraftPrompt PromptBuilder::prompt(const DraftInput& input) {
    return DraftPrompt{systemPrompt(input), userPrompt(input), tokenLimit(input)};
}

QString PromptBuilder::systemPrompt(const DraftInput& input) {
    return input.edit ? editSystemPrompt(input) : replySystemPrompt(input);
}

QString PromptBuilder::userPrompt(const DraftInput& input) {
    return input.edit ? editUserPrompt(input) : replyUserPrompt(input);
}

int PromptBuilder::tokenLimit(const DraftInput& input) {
    if (input.edit) // room for the text to grow to twice its size, as "say more about..." asks
        return std::clamp(ReplyGuard::estimatedTokens(input.edit->original) * 2 + 150, 250, 2000);
    const bool brief = input.style.length == StyleProfile::Length::short_;
    switch (input.surface) {
    case Surface::email: return brief ? 350 : 700;
    case Surface::chat: return brief ? 150 : 300;
    case Surface::linkedIn: return brief ? 250 : 450;
    case Surface::other: return brief ? 250 : 500;
    }
    Q_UNREACHABLE();
}

QString PromptBuilder::fenced(const QString& tag, const QString& text) {
    return QStringLiteral("<%1>\n%2\n</%1>").arg(tag, Text::trimmed(defused(text)));
}

} // namespace lumeno
