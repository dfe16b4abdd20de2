#include "foundation/ReplyLanguage.h"

#include "support/Text.h"

namespace lumeno {

const std::vector<ReplyLanguage>& ReplyLanguage::shipped() {
    static const std::vector<ReplyLanguage> languages = {
        {QStringLiteral("en"), QStringLiteral("English")},
        {QStringLiteral("ar"), QStringLiteral("Arabic")},
        {QStringLiteral("bg"), QStringLiteral("Bulgarian")},
        {QStringLiteral("zh"), QStringLiteral("Chinese")},
        {QStringLiteral("hr"), QStringLiteral("Croatian")},
        {QStringLiteral("cs"), QStringLiteral("Czech")},
        {QStringLiteral("da"), QStringLiteral("Danish")},
        {QStringLiteral("nl"), QStringLiteral("Dutch")},
        {QStringLiteral("fi"), QStringLiteral("Finnish")},
        {QStringLiteral("fr"), QStringLiteral("French")},
        {QStringLiteral("de"), QStringLiteral("German")},
        {QStringLiteral("el"), QStringLiteral("Greek")},
        {QStringLiteral("hu"), QStringLiteral("Hungarian")},
        {QStringLiteral("it"), QStringLiteral("Italian")},
        {QStringLiteral("ja"), QStringLiteral("Japanese")},
        {QStringLiteral("ko"), QStringLiteral("Korean")},
        {QStringLiteral("no"), QStringLiteral("Norwegian")},
        {QStringLiteral("pl"), QStringLiteral("Polish")},
        {QStringLiteral("pt"), QStringLiteral("Portuguese")},
        {QStringLiteral("ro"), QStringLiteral("Romanian")},
        {QStringLiteral("ru"), QStringLiteral("Russian")},
        {QStringLiteral("sr"), QStringLiteral("Serbian")},
        {QStringLiteral("sk"), QStringLiteral("Slovak")},
        {QStringLiteral("sl"), QStringLiteral("Slovenian")},
        {QStringLiteral("es"), QStringLiteral("Spanish")},
        {QStringLiteral("sv"), QStringLiteral("Swedish")},
        {QStringLiteral("tr"), QStringLiteral("Turkish")},
        {QStringLiteral("uk"), QStringLiteral("Ukrainian")},
    };
    return languages;
}

std::optional<ReplyLanguage> ReplyLanguage::withCode(const QString& code) {
    for (const ReplyLanguage& language : shipped())
        if (language.code == code)
            return language;
    return std::nullopt;
}

std::optional<QString> ReplyLanguage::codeMatching(const QString& localeOrLanguage) {
    // The language is the leading run of letters: "en-US", "en_US.UTF-8", "zh-Hant-TW", "sr@latin".
    qsizetype letters = 0;
    while (letters < localeOrLanguage.size() && localeOrLanguage[letters].isLetter())
        ++letters;
    const QString language = Text::lowercased(localeOrLanguage.left(letters));
    if (language == u"zh")
        return QStringLiteral("zh");
    if (language == u"nb" || language == u"nn" || language == u"no")
        return QStringLiteral("no");
    if (withCode(language))
        return language;
    return std::nullopt;
}

} // namespace lumeno
