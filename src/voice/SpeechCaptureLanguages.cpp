// The language side of SpeechCapture: which locale to listen in, and what to say when none fits.
#include "foundation/ReplyLanguage.h"
#include "support/Text.h"
#include "voice/SpeechCapture.h"

#include <QHash>

namespace lumeno {

namespace {

// The reply-language code a code or identifier stands for; a language that is not shipped stands for
// itself, so it can still be matched by its plain language part.
QString replyCode(const QString& codeOrIdentifier) {
    return ReplyLanguage::codeMatching(codeOrIdentifier)
        .value_or(SpeechLocale{codeOrIdentifier}.languageCode());
}

} // namespace

QString SpeechCapture::preferredIdentifier(const QString& languageCode) {
    // The region most speakers of each shipped language dictate in.
    static const QHash<QString, QString> preferred = {
        {QStringLiteral("en"), QStringLiteral("en-US")}, {QStringLiteral("ar"), QStringLiteral("ar-SA")},
        {QStringLiteral("bg"), QStringLiteral("bg-BG")}, {QStringLiteral("zh"), QStringLiteral("zh-CN")},
        {QStringLiteral("hr"), QStringLiteral("hr-HR")}, {QStringLiteral("cs"), QStringLiteral("cs-CZ")},
        {QStringLiteral("da"), QStringLiteral("da-DK")}, {QStringLiteral("nl"), QStringLiteral("nl-NL")},
        {QStringLiteral("fi"), QStringLiteral("fi-FI")}, {QStringLiteral("fr"), QStringLiteral("fr-FR")},
        {QStringLiteral("de"), QStringLiteral("de-DE")}, {QStringLiteral("el"), QStringLiteral("el-GR")},
        {QStringLiteral("hu"), QStringLiteral("hu-HU")}, {QStringLiteral("it"), QStringLiteral("it-IT")},
        {QStringLiteral("ja"), QStringLiteral("ja-JP")}, {QStringLiteral("ko"), QStringLiteral("ko-KR")},
        {QStringLiteral("no"), QStringLiteral("nb-NO")}, {QStringLiteral("pl"), QStringLiteral("pl-PL")},
        {QStringLiteral("pt"), QStringLiteral("pt-BR")}, {QStringLiteral("ro"), QStringLiteral("ro-RO")},
        {QStringLiteral("ru"), QStringLiteral("ru-RU")}, {QStringLiteral("sr"), QStringLiteral("sr-RS")},
        {QStringLiteral("sk"), QStringLiteral("sk-SK")}, {QStringLiteral("sl"), QStringLiteral("sl-SI")},
        {QStringLiteral("es"), QStringLiteral("es-ES")}, {QStringLiteral("sv"), QStringLiteral("sv-SE")},
        {QStringLiteral("tr"), QStringLiteral("tr-TR")}, {QStringLiteral("uk"), QStringLiteral("uk-UA")},
    };
    const QString code = replyCode(languageCode);
    return preferred.value(code, code);
}

std::optional<SpeechLocale> SpeechCapture::locale(const QString& languageCode,
                                                  const std::vector<SpeechLocale>& locales) {
    const QString preferred = preferredIdentifier(languageCode);
    for (const SpeechLocale& locale : locales)
        if (Text::equalIgnoringCase(locale.identifier, preferred))
            return locale;
    // Compared as reply languages, so Norwegian finds "nn-NO" and Chinese finds "zh-Hant-TW".
    const QString code = replyCode(languageCode);
    for (const SpeechLocale& locale : locales)
        if (replyCode(locale.identifier) == code)
            return locale;
    return std::nullopt;
}

QSet<QString> SpeechCapture::languageCodes(const std::vector<SpeechLocale>& locales) {
    QSet<QString> codes;
    for (const SpeechLocale& locale : locales)
        if (const auto code = ReplyLanguage::codeMatching(locale.identifier))
            codes.insert(*code);
    return codes;
}

std::optional<QString> SpeechCapture::unavailableNotice(const QString& languageCode,
                                                        const QSet<QString>& supported) {
    const auto language = ReplyLanguage::withCode(languageCode);
    if (!language || supported.contains(languageCode))
        return std::nullopt;
    return QStringLiteral("%1 can't be transcribed on this computer.").arg(language->name);
}

} // namespace lumeno
