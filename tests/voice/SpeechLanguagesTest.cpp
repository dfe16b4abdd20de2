#include "foundation/ReplyLanguage.h"
#include "platform/fake/FakeAudioInput.h"
#include "platform/fake/FakeSpeechEngine.h"
#include "voice/SpeechCapture.h"

#include <QCoroTask>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

std::vector<SpeechLocale> locales(std::initializer_list<const char*> identifiers) {
    std::vector<SpeechLocale> list;
    for (const char* identifier : identifiers)
        list.push_back({QString::fromLatin1(identifier)});
    return list;
}

std::optional<QString> chosen(const char* code, const std::vector<SpeechLocale>& list) {
    const auto locale = SpeechCapture::locale(QString::fromLatin1(code), list);
    return locale ? std::optional(locale->identifier) : std::nullopt;
}

TEST(SpeechLanguages, EveryShippedLanguageHasARegionalLocaleOfItsOwn) {
    for (const ReplyLanguage& language : ReplyLanguage::shipped()) {
        const QString preferred = SpeechCapture::preferredIdentifier(language.code);
        EXPECT_TRUE(preferred.contains(QLatin1Char('-'))) << preferred.toStdString();
        EXPECT_EQ(ReplyLanguage::codeMatching(preferred), language.code) << preferred.toStdString();
    }
}

TEST(SpeechLanguages, PreferredIdentifierNormalisesTheCodeFirst) {
    EXPECT_EQ(SpeechCapture::preferredIdentifier(QStringLiteral("EN")), QStringLiteral("en-US"));
    EXPECT_EQ(SpeechCapture::preferredIdentifier(QStringLiteral("nn")), QStringLiteral("nb-NO"));
    EXPECT_EQ(SpeechCapture::preferredIdentifier(QStringLiteral("no")), QStringLiteral("nb-NO"));
    EXPECT_EQ(SpeechCapture::preferredIdentifier(QStringLiteral("zh-TW")), QStringLiteral("zh-CN"));
    EXPECT_EQ(SpeechCapture::preferredIdentifier(QStringLiteral("sl_SI")), QStringLiteral("sl-SI"));
    EXPECT_EQ(SpeechCapture::preferredIdentifier(QStringLiteral("eu")), QStringLiteral("eu"));
}

// The regional locale first, then any of the language (identifiers compare without case); Norwegian and
// Chinese find their variants.
TEST(SpeechLanguages, LocaleChoicePrefersTheRegionalOneThenAnyOfTheLanguage) {
    const std::tuple<const char*, std::vector<SpeechLocale>, std::optional<QString>> cases[] = {
        {"de", locales({"de-AT", "de-CH", "de-DE"}), "de-DE"},
        {"de", locales({"de-CH", "de-AT"}), "de-CH"},
        {"en", locales({"EN-us", "en-GB"}), "EN-us"},
        {"en", locales({"de-DE"}), std::nullopt},
        {"en", {}, std::nullopt},
        {"no", locales({"en-US", "nn-NO"}), "nn-NO"},
        {"nb", locales({"nb-NO", "nn-NO"}), "nb-NO"},
        {"zh", locales({"zh-Hant-TW"}), "zh-Hant-TW"},
        {"zh-HK", locales({"zh-CN", "zh-HK"}), "zh-CN"},
    };
    for (const auto& [code, list, expected] : cases)
        EXPECT_EQ(chosen(code, list), expected) << code;
}

TEST(SpeechLanguages, LanguageCodesAreReplyLanguages) {
    EXPECT_EQ(SpeechCapture::languageCodes(locales({"en-US", "en-GB", "nb-NO", "zh-Hans-CN", "eu-ES"})),
              (QSet<QString>{QStringLiteral("en"), QStringLiteral("no"), QStringLiteral("zh")}));
    EXPECT_TRUE(SpeechCapture::languageCodes({}).isEmpty());
}

TEST(SpeechLanguages, UnavailableNoticeOnlyForShippedLanguagesWithoutARecognizer) {
    const QSet<QString> supported{QStringLiteral("en"), QStringLiteral("de")};
    EXPECT_EQ(SpeechCapture::unavailableNotice(QStringLiteral("sl"), supported),
              QStringLiteral("Slovenian can't be transcribed on this computer."));
    EXPECT_EQ(SpeechCapture::unavailableNotice(QStringLiteral("de"), supported), std::nullopt);
    EXPECT_EQ(SpeechCapture::unavailableNotice(QStringLiteral("eu"), supported), std::nullopt);
}

TEST(SpeechLanguages, SupportedLocalesComeWithoutRepeatsInOrder) {
    FakeAudioInput microphone;
    FakeSpeechEngine engine;
    SpeechCapture capture(microphone, engine);
    engine.setSupportedLocales(
        {QStringLiteral("sl-SI"), QStringLiteral("en-US"), QStringLiteral("de-DE"), QStringLiteral("en-US")});
    EXPECT_EQ(QCoro::waitFor(capture.supportedLocales()), locales({"de-DE", "en-US", "sl-SI"}));
    engine.setSupportedLocales({});
    EXPECT_TRUE(QCoro::waitFor(capture.supportedLocales()).empty());
}

} // namespace
} // namespace lumeno
