#include "screen/ConversationStats.h"

#include "support/Text.h"

namespace lumeno {

const Regex& ConversationStats::time() {
    static const Regex pattern = Regex::fixed(
        QStringLiteral(R"((?<![\d:.])(?:[01]?\d|2[0-3])[:.][0-5]\d(?![\d:.])(?:\s?[AaPp]\.?[Mm]\.?)?)"));
    return pattern;
}

const Regex& ConversationStats::date() {
    static const Regex pattern = Regex::fixed(QStringLiteral(
        R"((?i)\b(?:jan|feb|mar|apr|may|maj|jun|jul|aug|avg|sep|sept|oct|okt|nov|dec)[a-z]*\.?\s+\d{1,2}\b|\b\d{1,2}\.?\s+(?:jan|feb|mar|apr|may|maj|jun|jul|aug|avg|sep|sept|oct|okt|nov|dec)[a-z]*\b|\b\d{1,2}[./]\d{1,2}[./]\d{2,4}\b)"));
    return pattern;
}

const Regex& ConversationStats::relative() {
    static const Regex pattern = Regex::fixed(QStringLiteral(
        R"((?i)\b\d+\s+(?:minutes?|mins?|hours?|hrs?|days?|weeks?|min|ur|uri|dni|dan)\s+(?:ago|nazaj)\b|\b(?:yesterday|včeraj|pred\s+\d+\s+\w+)\b)"));
    return pattern;
}

const Regex& ConversationStats::quotedReply() {
    static const Regex pattern = Regex::fixed(QStringLiteral(
        R"((?im)^[ \t>]*+(?:)"
        // "On Tue, 3 Mar 2026 at 10:12, Ana <ana@example.com> wrote:" and its translations
        R"([^\n]{0,300}?\b(?:wrote|writes|a[ \t]+écrit|escribió|ha[ \t]+scritto|kirjoitti|napisal\(a\)|napisala|)"
        R"(napisal|je[ \t]+zapisal|napsal|írta|escreveu|написал|написала)"
        // German, Dutch and Swedish put the writer after the verb: "Am … schrieb Ana <ana@example.com>:"
        R"(|(?:schrieb|schreef|skrev)\b[^\n]{0,200}?)[ \t]*:)"
        // "-----Original Message-----", "---------- Forwarded message ---------" and their translations
        R"(|-{2,}[ \t]*(?:original[ \t]+message|forwarded[ \t]+message|ursprüngliche[ \t]+nachricht|)"
        R"(weitergeleitete[ \t]+nachricht|message[ \t]+d'origine|message[ \t]+transféré|mensaje[ \t]+original|)"
        R"(mensaje[ \t]+reenviado|messaggio[ \t]+originale|messaggio[ \t]+inoltrato|oorspronkelijk[ \t]+bericht|)"
        R"(doorgestuurd[ \t]+bericht|izvirno[ \t]+sporočilo|posredovano[ \t]+sporočilo|originalna[ \t]+poruka|)"
        R"(proslijeđena[ \t]+poruka|originalmeddelande|oprindelig[ \t]+meddelelse)[ \t]*:?[ \t]*-*)"
        R"(|begin[ \t]+forwarded[ \t]+message[ \t]*:)"
        // Outlook puts a rule of underscores above the quoted header
        R"(|_{10,})"
        // "From: Ana Novak <ana@example.com>" opening a quoted header block
        R"(|(?:from|von|de|da|van|od|från|fra|от)[ \t]*:[^\n]*@[^\n]*)"
        R"()[ \t]*$)"));
    return pattern;
}

bool ConversationStats::isTimestampLine(const QString& line) {
    return time().matchesAnywhere(line) || date().matchesAnywhere(line) || relative().matchesAnywhere(line);
}

int ConversationStats::estimatedMessages(const QString& text) {
    // A timestamp line shorter than this is a message header; a longer one is message text that mentions
    // a time.
    constexpr int headerLineLimit = 91;
    int messages = 0;
    bool previousWasHeader = false;
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = Text::trimmed(rawLine);
        if (!previousWasHeader && quotedReply().matchesAnywhere(line)) {
            ++messages;
            previousWasHeader = true;
        } else if (!line.isEmpty() && Text::graphemeCount(line) < headerLineLimit && isTimestampLine(line)) {
            if (!previousWasHeader)
                ++messages;
            previousWasHeader = true;
        } else {
            previousWasHeader = false;
        }
    }
    return messages;
}

} // namespace lumeno
