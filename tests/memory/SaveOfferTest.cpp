#include "MemoryTestSupport.h"

#include "memory/SaveOffer.h"

namespace lumeno {
namespace {

TEST(SaveOffer, TitlesCutLongTextsAtThirtySixCharacters) {
    const QString exactly38 = "Send the quarterly numbers to the team";
    ASSERT_EQ(exactly38.size(), 38);
    EXPECT_EQ(SaveOffer::commitment(exactly38, std::nullopt, std::nullopt).title(),
              QString::fromUtf8("Save “Send the quarterly numbers to the team”"));
    EXPECT_EQ(SaveOffer::pin(exactly38 + "s", std::nullopt, std::nullopt).title(),
              QString::fromUtf8("Pin “Send the quarterly numbers to the te…”"));
    // Characters are what the user sees: a flag is one, however many code units it takes.
    const QString flags = QString::fromUtf8("🇸🇮").repeated(38);
    EXPECT_EQ(SaveOffer::pin(flags, std::nullopt, std::nullopt).title(), QString::fromUtf8("Pin “") + flags + QString::fromUtf8("”"));
}

TEST(SaveOffer, TitlesOfEveryKind) {
    const ScopedLocale english("en_US");
    const ScopedTimeZone zone("UTC");
    EXPECT_EQ(SaveOffer::commitment("Send the deck", utc(2025, 3, 1, 12), std::nullopt).title(),
              QString::fromUtf8("Save “Send the deck” · Sat, Mar 1"));
    const QString longName = "Anna Maria Novak-Kralj of the Lisbon office";
    EXPECT_EQ(SaveOffer::person(longName, QString("anna@example.com")).title(), "Save " + longName + " as a person");
    EXPECT_EQ(SaveOffer::alias("anna.maria.novak.kralj@lisbon.example.com", QUuid::createUuid(), "Anna").title(),
              "Add anna.maria.novak.kralj@lisbon.example.com to Anna");
    EXPECT_EQ(SaveOffer::pin("Likes tea", std::nullopt, std::nullopt).symbol(), "pin");
    EXPECT_EQ(SaveOffer::alias("a@b.c", QUuid::createUuid(), "A").symbol(), "at");
    EXPECT_EQ(SaveOffer::person("A", std::nullopt).symbol(), "person.crop.circle.badge.plus");
    EXPECT_EQ(SaveOffer::commitment("A", std::nullopt, std::nullopt).symbol(), "checklist");
}

TEST(SaveOffer, KeysIdentifyTheContentNotTheOffer) {
    const SaveOffer first = SaveOffer::commitment("Send the Deck", utc(2025, 3, 1), std::nullopt);
    const SaveOffer second = SaveOffer::commitment("Send the Deck", utc(2025, 3, 1), std::nullopt);
    EXPECT_NE(first.id, second.id);
    EXPECT_EQ(first.key(), second.key());
    EXPECT_EQ(first.key(), SaveOffer::commitment("SEND THE DECK", std::nullopt, std::nullopt).key()) << "in any case";
    EXPECT_NE(first.key(), SaveOffer::pin("Send the Deck", std::nullopt, std::nullopt).key()) << "of another kind";
    EXPECT_NE(SaveOffer::person("Anna", std::nullopt).key(), SaveOffer::pin("Anna", std::nullopt, std::nullopt).key());
    const QUuid anna = QUuid::createUuid();
    EXPECT_NE(SaveOffer::alias("anna@example.com", anna, "Anna").key(),
              SaveOffer::alias("anna@example.com", QUuid::createUuid(), "Anna").key()) << "for another person";
}

} // namespace
} // namespace lumeno
