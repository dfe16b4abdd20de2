#include "foundation/ReplyLanguage.h"

#include <QSet>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

TEST(ReplyLanguageTest, ShipsTwentyEightDistinctLanguagesEnglishFirstThenByName) {
    const auto& languages = ReplyLanguage::shipped();
    ASSERT_EQ(languages.size(), 28u);
    EXPECT_EQ(languages.front(), (ReplyLanguage{"en", "English"}));
    QSet<QString> codes;
    for (const ReplyLanguage& language : languages) {
        EXPECT_EQ(language.code.size(), 2) << language.code.toStdString();
        EXPECT_EQ(language.code, language.code.toLower());
        EXPECT_FALSE(language.name.isEmpty());
        codes.insert(language.code);
    }
    EXPECT_EQ(codes.size(), 28);
    // Languages whose words the program's own patterns know must be among them.
    for (const char* code : {"en", "sl", "hr", "sr", "de", "it", "zh", "no"})
        EXPECT_TRUE(codes.contains(QString::fromLatin1(code))) << code;
    for (size_t i = 2; i < languages.size(); ++i) // after English, in name order
        EXPECT_LT(languages[i - 1].name, languages[i].name);
}

TEST(ReplyLanguageTest, CodeMatchingTakesTheLanguageOfAnyLocaleForm) {
    const std::pair<const char*, std::optional<QString>> cases[] = {
        {"en-US", "en"},
        {"en_GB", "en"},
        {"EN", "en"},
        {"sl_SI.UTF-8", "sl"},
        {"sr@latin", "sr"},
        {"sr-Latn-RS", "sr"},
        {"de", "de"},
        {"pt-BR", "pt"},
        // Every Chinese variant is one reply language.
        {"zh", "zh"},
        {"zh-Hans-CN", "zh"},
        {"zh_TW", "zh"},
        {"zh-Hant-HK", "zh"},
        // Bokmål, Nynorsk and plain Norwegian are one reply language.
        {"nb-NO", "no"},
        {"nn_NO", "no"},
        {"no", "no"},
        {"NB", "no"},
        // Not shipped, or not a language at all.
        {"ca-ES", std::nullopt},
        {"eng", std::nullopt},
        {"", std::nullopt},
        {"-US", std::nullopt},
        {"e", std::nullopt},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(ReplyLanguage::codeMatching(QString::fromLatin1(input)), expected) << input;
}

TEST(ReplyLanguageTest, WithCodeFindsOnlyShippedRows) {
    EXPECT_EQ(ReplyLanguage::withCode("sl")->name, "Slovenian");
    EXPECT_EQ(ReplyLanguage::withCode("no")->name, "Norwegian");
    EXPECT_FALSE(ReplyLanguage::withCode("nb"));
    EXPECT_FALSE(ReplyLanguage::withCode("SL"));
}

} // namespace
} // namespace lumeno
