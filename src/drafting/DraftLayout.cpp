#include "drafting/DraftLayout.h"

#include "drafting/Salutations.h"
#include "support/Regex.h"
#include "support/Text.h"

#include <optional>

namespace lumeno {
namespace {

using Signature = DraftLayout::Signature;

bool isBlank(const QString& line) { return Text::trimmed(line).isEmpty(); }

bool isListItem(const QString& line) {
    static const Regex item = Regex::fixed(QStringLiteral("^[ \\t]*(?:[-*•–]|\\d{1,2}[.)])[ \\t]+"));
    return item.matchesAnywhere(line);
}

// "Maya", "— Maya Lindqvist": a line naming the user, as a signature does.
bool isOwnName(const QString& line, const QStringList& ownNames) {
    const QString candidate = Text::trimmedWithPunctuation(line);
    for (const QString& name : ownNames) {
        const QString full = Text::trimmed(name);
        if (full.isEmpty())
            continue;
        const QString first = full.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        if (Text::equalIgnoringCase(candidate, full) || Text::equalIgnoringCase(candidate, first))
            return true;
    }
    return false;
}

// A line that can stand under a sign-off: a name or a title ("Anna Berger", "Head of Sales"), not a
// sentence. Words of more than three letters start with a capital (or come from a script without case).
bool isSignatureLine(const QString& line) {
    static const Regex shape = Regex::fixed(QStringLiteral("^[\\p{L}\\p{M}][\\p{L}\\p{M}.'’&,\\- ]{0,48}$"));
    static const Regex lowerWord = Regex::fixed(QStringLiteral("(?:^|\\s)\\p{Ll}[\\p{L}\\p{M}]{3,}"));
    static const Regex dash = Regex::fixed(QStringLiteral("^[-–—~][ \\t]*"));
    const QString trimmed = dash.replaceAll(Text::trimmed(line), QString());
    return shape.matchesAnywhere(trimmed) && !lowerWord.matchesAnywhere(trimmed) &&
           trimmed.split(QLatin1Char(' '), Qt::SkipEmptyParts).size() <= 4 && !Salutations::closing(trimmed);
}

enum class ClosingRule {
    any,        // every sign-off at the end counts
    signedOnly, // only one that carries a name or ends with a comma (a bare "Thanks!" is part of a chat)
};

// The end of a message split into its body and its signature blocks. Models sometimes sign twice
// ("Best,\nAnna\n\nBest regards,\nAnna"); every block is taken off, the top-most one is remembered.
struct Ending {
    QStringList body;
    std::optional<Salutations::Closing> closing; // of the top-most block
    QStringList block;                            // the top-most block as written
    bool hadSignature() const { return !block.isEmpty(); }
};

void dropTrailingBlankLines(QStringList& lines) {
    while (!lines.isEmpty() && isBlank(lines.back()))
        lines.removeLast();
}

bool hasContentBefore(const QStringList& lines, qsizetype index) {
    for (qsizetype i = 0; i < index; ++i)
        if (!isBlank(lines[i]))
            return true;
    return false;
}

Ending splitEnding(QStringList lines, const QStringList& ownNames, ClosingRule rule) {
    Ending ending;
    for (;;) {
        dropTrailingBlankLines(lines);
        qsizetype namesStart = lines.size();
        bool ownNameSeen = false;
        while (namesStart > 0 && lines.size() - namesStart < 3 && isSignatureLine(lines[namesStart - 1])) {
            --namesStart;
            ownNameSeen = ownNameSeen || isOwnName(lines[namesStart], ownNames);
        }
        const bool hasNames = namesStart < lines.size();
        const qsizetype closingIndex = namesStart - 1;
        const std::optional<Salutations::Closing> closing =
            closingIndex >= 0 ? Salutations::closing(lines[closingIndex]) : std::nullopt;

        qsizetype blockStart = -1;
        if (closing) {
            const bool signedClosing = hasNames || !closing->name.isEmpty() || closing->phrase.endsWith(u',');
            if (rule == ClosingRule::any || signedClosing)
                blockStart = closingIndex;
        } else if (hasNames && ownNameSeen) {
            blockStart = namesStart; // the name alone, without a sign-off above it
        }
        if (blockStart < 0 || !hasContentBefore(lines, blockStart))
            break;
        ending.closing = blockStart == closingIndex ? closing : std::nullopt;
        ending.block = lines.mid(blockStart);
        lines.erase(lines.begin() + blockStart, lines.end());
    }
    ending.body = lines;
    return ending;
}

// Body lines as paragraphs. A model that forgot blank lines wrote one paragraph per line; lists stay
// together.
QStringList paragraphs(const QStringList& lines) {
    const QString text = Text::trimmed(lines.join(QLatin1Char('\n')));
    if (text.isEmpty())
        return {};
    QStringList result;
    for (const QString& part : text.split(QStringLiteral("\n\n"), Qt::SkipEmptyParts))
        if (!isBlank(part))
            result.append(Text::trimmed(part));
    if (result.size() == 1 && text.contains(QLatin1Char('\n'))) {
        const QStringList single = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (std::none_of(single.begin(), single.end(), isListItem))
            return single;
    }
    return result;
}

// The sign-off line of an e-mail: the user's own, unless the model closed in another language (then the
// whole reply is in that language and the user's English sign-off would not fit).
QString chosenSignOff(const Signature& signature, const std::optional<Salutations::Closing>& modelClosing) {
    const QString own = Text::trimmed(signature.signOff);
    if (modelClosing && (own.isEmpty() || modelClosing->languageCode != QLatin1String("en")))
        return modelClosing->phrase;
    return own;
}

// The name under the sign-off: the user's sign-as name, else whatever name the model wrote there.
QStringList nameLines(const Signature& signature, const Ending& ending) {
    const QString signName = Text::trimmed(signature.signName);
    if (!signName.isEmpty())
        return {signName};
    QStringList written = ending.block.mid(ending.closing ? 1 : 0);
    if (ending.closing && !ending.closing->name.isEmpty())
        written.prepend(ending.closing->name);
    return written;
}

struct Opening {
    std::optional<Salutations::Greeting> greeting;
    QStringList rest; // every line after the greeting (its same-line text first)
};

Opening splitOpening(const QStringList& lines) {
    qsizetype first = 0;
    while (first < lines.size() && isBlank(lines[first]))
        ++first;
    if (first == lines.size())
        return {std::nullopt, lines};
    std::optional<Salutations::Greeting> greeting = Salutations::greeting(lines[first]);
    if (!greeting)
        return {std::nullopt, lines.mid(first)};
    QStringList rest = lines.mid(first + 1);
    if (!greeting->rest.isEmpty())
        rest.prepend(Text::capitalizedFirst(greeting->rest));
    if (!hasContentBefore(rest, rest.size()))
        return {std::nullopt, lines.mid(first)}; // a greeting with nothing after it is the whole message
    return {greeting, rest};
}

QString joinedParagraphs(const QStringList& parts) {
    QStringList nonEmpty;
    for (const QString& part : parts)
        if (!isBlank(part))
            nonEmpty.append(part);
    return nonEmpty.join(QStringLiteral("\n\n"));
}

} // namespace

QString DraftLayout::email(const QString& text, const Signature& signature) {
    const Opening opening = splitOpening(text.split(QLatin1Char('\n')));
    const Ending ending = splitEnding(opening.rest, signature.ownNames, ClosingRule::any);

    QString greetingLine;
    if (opening.greeting) {
        greetingLine = opening.greeting->line;
        if (greetingLine.back().isLetterOrNumber())
            greetingLine += u',';
    }
    QStringList signatureLines = nameLines(signature, ending);
    const QString signOff = chosenSignOff(signature, ending.closing);
    if (!signOff.isEmpty())
        signatureLines.prepend(signOff);

    QStringList parts{greetingLine};
    parts.append(paragraphs(ending.body));
    parts.append(signatureLines.join(QLatin1Char('\n')));
    return joinedParagraphs(parts);
}

QString DraftLayout::chat(const QString& text, const Signature& signature) {
    QStringList lines = text.split(QLatin1Char('\n'));
    const Opening opening = splitOpening(lines);
    if (opening.greeting && opening.greeting->rest.isEmpty()) {
        // "Hi Anna," on a line of its own is an e-mail habit; "Hey Anna!" is how chats open.
        QStringList rest = opening.rest;
        if (!opening.greeting->line.endsWith(u',') && !opening.greeting->line.endsWith(u':')) {
            qsizetype first = 0;
            while (first < rest.size() && isBlank(rest[first]))
                ++first;
            rest[first] = opening.greeting->line + u' ' + Text::trimmed(rest[first]);
        }
        lines = rest;
    }
    const Ending ending = splitEnding(lines, signature.ownNames, ClosingRule::signedOnly);
    QStringList kept;
    for (const QString& line : ending.body)
        if (!isBlank(line))
            kept.append(Text::trimmed(line));
    const bool hasList = std::any_of(kept.begin(), kept.end(), isListItem);
    return kept.join(kept.size() > 4 && !hasList ? QStringLiteral(" ") : QStringLiteral("\n"));
}

QString DraftLayout::plain(const QString& text, const Signature& signature) {
    const Ending ending = splitEnding(text.split(QLatin1Char('\n')), signature.ownNames, ClosingRule::any);
    if (!ending.hadSignature())
        return text;
    return joinedParagraphs({ending.body.join(QLatin1Char('\n')), ending.block.join(QLatin1Char('\n'))});
}

} // namespace lumeno
