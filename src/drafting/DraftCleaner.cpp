#include "drafting/DraftCleaner.h"

#include "drafting/Salutations.h"
#include "support/Regex.h"
#include "support/Text.h"

#include <QStringList>

#include <algorithm>
#include <functional>

namespace lumeno {
namespace {

QString normalizedLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar(0x2028), QLatin1Char('\n'));
    return text;
}

// Trailing spaces on every line gone, at most one blank line in a row, no blank lines at either end. A run
// of spaces is tried from its first space only, so a long run inside a line costs its length, not its square.
QString tidiedWhitespace(const QString& text) {
    static const Regex trailingSpaces = Regex::fixed(QStringLiteral("(?m)(?<![ \\t\\u00A0])[ \\t\\u00A0]+$"));
    static const Regex blankRuns = Regex::fixed(QStringLiteral("\\n{3,}"));
    return Text::trimmed(blankRuns.replaceAll(trailingSpaces.replaceAll(text, QString()), QStringLiteral("\n\n")));
}

// A draft inside a code fence: the fenced text, when the words around the fence are only a preamble or a
// comment (a few lines, or less than what is fenced). The closing fence is looked for after a line break or
// at the first space of a run, so a long run of spaces is not walked again from each of its spaces.
QString unfenced(const QString& text) {
    static const Regex fence = Regex::fixed(
        QStringLiteral("(?s)```[\\w+-]*[ \\t]*\\n(.*?)(?:\\n[ \\t]*+```|(?<![ \\t])[ \\t]*+```)"));
    const std::vector<RegexMatch> fences = fence.allMatches(text);
    if (fences.size() != 1)
        return text;
    const QString inside = Text::trimmed(fences.front().captured(text, 1));
    const qsizetype outside = text.size() - fences.front().range().length;
    constexpr qsizetype aFewLines = 240;
    return outside < std::max(inside.size(), aFewLines) ? inside : text;
}

// "Here's a draft reply:", "Sure! Here is the rewritten text.", "Reply:" opening the answer. Without the
// assistant's "Sure!" a colon must end the line, so a message that opens "This is a quick note to say
// thanks." keeps its first sentence.
QString withoutPreamble(const QString& text) {
    static const QString announcing = QStringLiteral(
        "(?:here(?:'s|’s| is| are)|below is|this is)[ \\t]+(?:a|an|the|your|my)[ \\t]+[^\\n]{0,60}?"
        "\\b(?:draft|reply|response|answer|version|rewrite|message|e-?mail|text|note)s?\\b[^\\n]{0,80}?");
    static const Regex announcement =
        Regex::fixed(QStringLiteral("(?i)^[ \\t]*") + announcing + QStringLiteral(":[ \\t]*(?:\\n|$)"));
    // Spaces and punctuation after "Sure" are taken whole, as in the commentary below.
    static const Regex assistantAnnouncement = Regex::fixed(
        QStringLiteral("(?i)^[ \\t]*(?:sure|certainly|of course|absolutely|okay|ok|alright|got it|great)[ \\t]*+[!,.]?+"
                       "[ \\t]*+") +
        announcing + QStringLiteral("[:.]?[ \\t]*(?:\\n|$)"));
    static const Regex label = Regex::fixed(QStringLiteral(
        "(?i)^[ \\t]*\\**(?:draft(?:ed)?(?: reply| message| e-?mail)?|reply|response|message|e-?mail|"
        "rewritten(?: text| version)?|revised(?: text| version)?|edited(?: text| version)?)\\**[ \\t]*:\\**[ \\t]*(?:\\n|$)"));
    for (const Regex* pattern : {&assistantAnnouncement, &announcement, &label}) {
        if (const std::optional<RegexMatch> match = pattern->firstMatch(text)) {
            const QString rest = text.mid(match->range().end());
            if (!Text::trimmed(rest).isEmpty())
                return Text::trimmed(rest);
        }
    }
    return text;
}

// A subject line at the top ("Subject: Re: Friday"), in the reply languages. A bare "Re:" line counts only
// when a blank line follows it: "Re: the invoice, paid today." can open a real message.
QString withoutSubjectLine(const QString& text) {
    static const Regex subject = Regex::fixed(QStringLiteral(
        "(?i)^[ \\t]*\\**(?:(?:subject|betreff|objet|asunto|oggetto|assunto|onderwerp|ämne|emne|aihe|temat|"
        "předmět|predmet|tárgy|subiect|тема|konu|θέμα)\\**[ \\t]*:[^\\n]*(?:\\n|$)|re\\**[ \\t]*:[^\\n]*\\n[ \\t]*\\n)"));
    if (const std::optional<RegexMatch> match = subject.firstMatch(text)) {
        const QString rest = Text::trimmed(text.mid(match->range().end()));
        if (!rest.isEmpty())
            return rest;
    }
    return text;
}

// Quotes around the whole draft, when they are not part of it: the closing mark appears nowhere inside.
QString unquoted(const QString& text) {
    static const QList<QPair<QChar, QChar>> pairs{
        {u'"', u'"'}, {u'“', u'”'}, {u'„', u'“'}, {u'«', u'»'}, {u'»', u'«'}, {u'「', u'」'}, {u'‘', u'’'}, {u'\'', u'\''}};
    if (text.size() < 3)
        return text;
    for (const auto& [open, close] : pairs) {
        if (text.front() != open || text.back() != close)
            continue;
        const QString inside = text.mid(1, text.size() - 2);
        // An apostrophe inside a word ("I'll") does not close a single-quoted draft; a quote next to a space
        // or line break does.
        static const Regex quoteLikeApostrophe = Regex::fixed(QStringLiteral("(?:^|\\s)['‘’]|['‘’](?:\\s|$)"));
        const bool apostrophe = close == u'\'' || close == u'’';
        if (apostrophe ? quoteLikeApostrophe.matchesAnywhere(inside) : inside.contains(close))
            continue;
        return Text::trimmed(inside);
    }
    return text;
}

// Words the model addresses to the user after the draft: offers to change it, notes on what it did.
QString withoutTrailingCommentary(const QString& text) {
    static const Regex separator = Regex::fixed(QStringLiteral("(?m)^[ \\t]*(?:-{3,}|\\*{3,}|_{3,})[ \\t]*$"));
    // Runs of spaces and brackets are taken whole: the phrase after them starts with a letter, and trying
    // every split of a long run would cost its square.
    static const Regex commentary = Regex::fixed(QStringLiteral(
        "(?i)^[ \\t]*+[(\\[*]*+[ \\t]*+(?:"
        "note:|n\\.b\\.|"
        "let me know if you(?:'d| would)? (?:like|want|need) (?:me to (?:make|adjust|change|tweak|shorten|"
        "lengthen|rewrite|revise|rephrase)|any (?:changes|adjustments|tweaks|edits)|changes|adjustments|"
        "(?:a|another) (?:different|shorter|longer|more|version|tone))|"
        "feel free to (?:adjust|tweak|modify|edit|change|customi[sz]e|personali[sz]e) (?:it|this|the "
        "(?:draft|message|reply|text|wording|tone)|as (?:needed|you see fit))|"
        "(?:would you like me to|do you want me to|shall i|should i) (?:make (?:it|this)|adjust|tweak|shorten|"
        "lengthen|rewrite|revise|rephrase|translate|change the (?:tone|wording))|"
        "i(?:'ve| have)? (?:kept|made|adjusted|written|used|added|included|removed|changed|drafted|rewritten|"
        "rewrote|wrote|assumed|tried to keep) (?:it|this|the (?:tone|message|reply|draft|e-?mail|text|wording|"
        "response|greeting|sign-?off)|that you|you meant)|"
        "this (?:draft|version|reply|response|rewrite) (?:is|keeps|uses|should|has|sounds|was)|"
        "(?:you )?(?:can|could|might want to) (?:adjust|tweak|modify|edit|change) (?:it|this|the (?:draft|"
        "message|reply|wording|tone))|"
        "word count:|hope this (?:helps|works)[!.]?[ \\t]*$"
        ")"));
    QString current = text;
    // Everything after a closing separator line is commentary when something stands before it.
    const std::vector<RegexMatch> separators = separator.allMatches(current);
    if (!separators.empty()) {
        const QString before = Text::trimmed(current.left(separators.back().range().start));
        if (!before.isEmpty())
            current = before;
    }
    for (;;) {
        const qsizetype paragraphStart = current.lastIndexOf(QStringLiteral("\n\n"));
        if (paragraphStart < 0)
            return current;
        const QString last = current.mid(paragraphStart + 2);
        if (!commentary.matchesAnywhere(last)) // anchored: the paragraph opens with the commentary
            return current;
        current = Text::trimmed(current.left(paragraphStart));
    }
}

QString withoutMarkdownEmphasis(const QString& text) {
    static const Regex bold = Regex::fixed(QStringLiteral("\\*\\*([^*\\n]+)\\*\\*|__([^_\\n]+)__"));
    return bold.replaceAll(text, QStringLiteral("$1$2"));
}

// A literal text as a replacement template: backslashes and dollar signs lose their meaning.
QString asReplacement(QString text) {
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char('$'), QStringLiteral("\\$"));
    return text;
}

QString firstWord(const QString& name) {
    return Text::trimmed(name).section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
}

// "[Your Name]" becomes the sign-as name, "[Recipient's Name]" the addressee's first name. A bare "[Name]"
// is the recipient in the greeting line and the writer anywhere else.
QString withPlaceholdersFilled(const QString& text, const DraftCleaner::Names& names) {
    static const Regex writer = Regex::fixed(QStringLiteral(
        "(?i)[\\[{<](?:your|my|sender(?:'s)?)[ \\t]*(?:full[ \\t]*|first[ \\t]*)?name[\\]}>]"));
    static const Regex recipient = Regex::fixed(QStringLiteral(
        "(?i)[\\[{<](?:recipient(?:'s)?|their|client(?:'s)?|contact(?:'s)?|customer(?:'s)?|person(?:'s)?)"
        "[ \\t]*(?:first[ \\t]*|full[ \\t]*)?name[\\]}>]|[\\[{<](?:recipient|first[ \\t]*name)[\\]}>]"));
    static const Regex bare = Regex::fixed(QStringLiteral("(?i)[\\[{<]name[\\]}>]"));
    // Left behind when an empty name is dropped: "Hi ," and a space before punctuation (tried from the first
    // space of a run only).
    static const Regex orphanSpace = Regex::fixed(QStringLiteral("(?<![ \\t])[ \\t]+(?=[,!.:])"));
    static const Regex emptyLine = Regex::fixed(QStringLiteral("(?m)^[ \\t]+$"));

    QStringList lines = text.split(QLatin1Char('\n'));
    const QString recipientName = asReplacement(firstWord(names.addresseeName));
    const QString signName = asReplacement(Text::trimmed(names.signName));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = writer.replaceAll(lines[i], signName);
        line = recipient.replaceAll(line, recipientName);
        const bool greetingLine = i == 0 || Salutations::greeting(lines[i]).has_value();
        line = bare.replaceAll(line, greetingLine ? recipientName : signName);
        if (line != lines[i])
            line = orphanSpace.replaceAll(line, QString());
        lines[i] = line;
    }
    return emptyLine.replaceAll(lines.join(QLatin1Char('\n')), QString());
}

} // namespace

QString DraftCleaner::cleaned(const QString& modelText, const Names& names) {
    const std::vector<std::function<QString(const QString&)>> steps{
        unfenced, withoutPreamble, withoutSubjectLine, unquoted, withoutTrailingCommentary,
    };
    QString text = tidiedWhitespace(normalizedLineBreaks(modelText));
    // Wrappers nest ("Here's a reply:" then a quoted draft), so repeat until nothing changes.
    for (int round = 0; round < 3; ++round) {
        const QString before = text;
        for (const auto& step : steps) {
            const QString next = tidiedWhitespace(step(text));
            if (!next.isEmpty())
                text = next;
        }
        if (text == before)
            break;
    }
    const QString filled = tidiedWhitespace(withPlaceholdersFilled(withoutMarkdownEmphasis(text), names));
    return filled.isEmpty() ? text : filled;
}

} // namespace lumeno
