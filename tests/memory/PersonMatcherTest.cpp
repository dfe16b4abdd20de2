#include "memory/PersonMatcher.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

Person person(const char* name, QStringList aliases = {}) {
    return {QUuid::createUuid(), QString::fromUtf8(name), std::move(aliases), {}, {}, {}};
}

QString matched(const QString& text, const QList<Person>& people) {
    const std::optional<Person> found = PersonMatcher::match(text, people);
    return found ? found->name : QStringLiteral("<none>");
}

TEST(PersonMatcher, NothingToMatchGivesNone) {
    const QList<Person> people{person("Anna Novak")};
    EXPECT_EQ(matched("", people), "<none>");
    EXPECT_EQ(matched(QString::fromUtf8("\u0301"), people), "<none>") << "a lone accent folds to nothing";
    EXPECT_EQ(matched("Anna Novak", {}), "<none>");
    EXPECT_EQ(matched("Re: budget", people), "<none>") << "the only person, but no hit";
}

TEST(PersonMatcher, FullNameIgnoresCaseAndAccents) {
    const QList<Person> people{person("Ana Kovač")};
    EXPECT_EQ(matched(QString::fromUtf8("Re: Q3 plan — ANA KOVAC (Inbox)"), people), QString::fromUtf8("Ana Kovač"));
    EXPECT_EQ(matched(QString::fromUtf8("ána kováč"), {person("Ana Kovac")}), "Ana Kovac");
}

TEST(PersonMatcher, ShortAliasesMustStandFreeOfLettersAndDigits) {
    const QList<Person> people{person("Bob", {" jb "})};
    EXPECT_EQ(matched("jbx", people), "<none>");
    EXPECT_EQ(matched("xjb", people), "<none>");
    EXPECT_EQ(matched("jb2", people), "<none>");
    EXPECT_EQ(matched("ping jb-team", people), "Bob");
    EXPECT_EQ(matched("thanks, jb", people), "Bob");
    EXPECT_EQ(matched("(jb)", people), "Bob");
    EXPECT_EQ(matched("x", {person("Xavier", {" x "})}), "<none>") << "a one-character alias is ignored";
}

TEST(PersonMatcher, EmailAliasMatchesAnywhereAndOutranksNames) {
    const QList<Person> people{person("Bob Stone"), person("Anna", {"anna@example.com"})};
    EXPECT_EQ(matched("Bob Stone\nmaria.anna@example.com.au", people), "Anna");
}

TEST(PersonMatcher, SharedFirstNamesDoNotCount) {
    const QList<Person> people{person("Anna Novak"), person("Anna Kralj"), person("Bo Li")};
    EXPECT_EQ(matched("Hi Anna", people), "<none>");
    EXPECT_EQ(matched("Anna, Anna Kralj", people), "Anna Kralj");
    EXPECT_EQ(matched("Bo", {person("Bo Li")}), "<none>") << "first names under three letters never count";
    EXPECT_EQ(matched("Zoë", {person("Zoe Ball")}), "Zoe Ball");
}

TEST(PersonMatcher, TiesGoToTheEarlierHitThenTheEarlierPerson) {
    const Person anna = person("Anna Novak");
    const Person bob = person("Bob Stone");
    EXPECT_EQ(matched("Bob Stone and Anna Novak", {anna, bob}), "Bob Stone");
    EXPECT_EQ(matched("Anna Novak and Bob Stone", {bob, anna}), "Anna Novak");

    const Person first = person("Tim", {"tim"});
    const Person second = person("Timothy", {"tim"});
    EXPECT_EQ(matched("tim", {first, second}), "Tim");
    EXPECT_EQ(matched("tim", {second, first}), "Timothy");
}

TEST(PersonMatcher, APersonsEarliestHitAmongItsBestTermDecides) {
    // Anna's alias hits at the end, her full name earlier: 80 beats 60, so the position is the name's.
    const QList<Person> people{person("Bob Stone", {"bobby"}), person("Anna Novak", {"annie"})};
    EXPECT_EQ(matched("bobby, Anna Novak, Bob Stone, annie", people), "Anna Novak");
}

TEST(PersonMatcher, RegularExpressionCharactersInNamesAreLiteral) {
    const QList<Person> people{person("C++ (Team)", {"a.b"})};
    EXPECT_EQ(matched("axb", people), "<none>");
    EXPECT_EQ(matched("see a.b", people), "C++ (Team)");
    EXPECT_EQ(matched("the c++ (team) chat", people), "C++ (Team)");
}

} // namespace
} // namespace lumeno
