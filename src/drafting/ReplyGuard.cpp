#include "drafting/ReplyGuard.h"

#include "drafting/LanguageDetector.h"
#include "foundation/ReplyLanguage.h"
#include "support/Regex.h"
#include "support/Text.h"

namespace lumeno {
namespace {

// A cut keeps at least this share of the draft; less would leave the user with a fragment.
constexpr double leastShareKept = 0.4;
// Within this share of the limit, a draft without a final full stop was most likely cut off.
constexpr double nearTheLimit = 0.85;

bool endsASentence(const QString& text) {
    static const Regex end = Regex::fixed(QStringLiteral("[.!?…。！？)\\p{So}][\"'”’»)\\]]*\\s*$"));
    return end.matchesAnywhere(text);
}

// `text` up to the end of its last whole sentence that starts before `maxLength`; empty when there is none.
QString wholeSentencesWithin(const QString& text, qsizetype maxLength) {
    static const Regex sentenceEnd = Regex::fixed(QStringLiteral("[.!?…。！？][\"'”’»)\\]]*(?=\\s|$)"));
    qsizetype cut = -1;
    for (const RegexMatch& match : sentenceEnd.allMatches(text)) {
        if (match.range().end() > maxLength)
            break;
        cut = match.range().end();
    }
    return cut < 0 ? QString() : Text::trimmed(text.left(cut));
}

QStringList replyLanguageCodes() {
    QStringList codes;
    for (const ReplyLanguage& language : ReplyLanguage::shipped())
        codes.append(language.code);
    return codes;
}

} // namespace

QString ReplyGuard::guarded(const QString& text, int tokenLimit) {
    const int tokens = estimatedTokens(text);
    const bool runaway = tokenLimit > 0 && tokens > tokenLimit;
    const bool cutOff = tokenLimit > 0 && tokens >= tokenLimit * nearTheLimit && !endsASentence(text);
    if (!runaway && !cutOff)
        return text;
    // The characters that fit the limit, at this text's own density of tokens.
    const qsizetype fitting = runaway ? qsizetype(double(text.size()) * tokenLimit / tokens) : text.size();
    const QString kept = wholeSentencesWithin(text, fitting);
    return kept.size() >= text.size() * leastShareKept ? kept : text;
}

QString ReplyGuard::languageCode(const QString& text) {
    return detectedLanguage(text).value_or(QStringLiteral("en"));
}

std::optional<QString> ReplyGuard::detectedLanguage(const QString& text) {
    static const QStringList codes = replyLanguageCodes();
    return LanguageDetector::detect(text, codes);
}

int ReplyGuard::estimatedTokens(const QString& text) {
    double tokens = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t codePoint = text.at(i).isHighSurrogate() && i + 1 < text.size()
                                       ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                                       : text.at(i).unicode();
        switch (QChar::script(codePoint)) {
        case QChar::Script_Han:
        case QChar::Script_Hiragana:
        case QChar::Script_Katakana:
        case QChar::Script_Hangul:
        case QChar::Script_Thai:
            tokens += 1;
            break;
        default:
            tokens += 0.25;
        }
        if (codePoint > 0xFFFF)
            ++i;
    }
    return int(tokens + 0.5);
}

} // namespace lumeno
