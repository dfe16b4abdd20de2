// The pin and the whole request are found in linear time and exactly where the pattern they stand for
// finds them.
#include "memory/MemoryDetector.h"
#include "memory/PinPhrase.h"
#include <gtest/gtest.h>
#include <unicode/regex.h>

#include <memory>
#include <random>

namespace lumeno {
namespace {

// What the search stands for, run by ICU's backtracking matcher with no limit of time or stack (the
// program's own searches stop at a budget this pattern needs far more than, even on a few hundred blanks).
std::optional<PinPhrase::Found> byThePattern(const QString& text) {
    UErrorCode status = U_ZERO_ERROR;
    static const std::unique_ptr<icu::RegexPattern> pattern(icu::RegexPattern::compile(
        icu::UnicodeString(R"re((?i)(?:note to self|pin (?:that|this))[:,]?\s+(.{3,200}?)\s*(?:[.!?](?:\s|$)|$))re"),
        0, status));
    const icu::UnicodeString input(reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()));
    std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
    matcher->setStackLimit(0, status);
    if (!matcher->find(status) || U_FAILURE(status))
        return std::nullopt;
    const int32_t start = matcher->start(status);
    const int32_t pinStart = matcher->start(1, status);
    return PinPhrase::Found{{start, matcher->end(status) - start}, {pinStart, matcher->end(1, status) - pinStart}};
}

// Dictations built from the pieces the pattern cares about: its openings, every kind of white space and
// line break, stops, letters of both planes, a lone surrogate, and pins longer than the longest.
QString randomDictation(std::mt19937& random) {
    static const QStringList pieces{
        QStringLiteral("note to self"), QStringLiteral("Pin this"), QStringLiteral("PIN THAT"),
        QStringLiteral("note to ſelf"), QStringLiteral(":"), QStringLiteral(","), QStringLiteral(" "),
        QStringLiteral("   "), QStringLiteral("\t"), QStringLiteral("\n"), QStringLiteral("\r\n"),
        QStringLiteral("\r"), QStringLiteral("\v"), QStringLiteral("\f"), QString(QChar(0x85)),
        QString(QChar(0xa0)), QString(QChar(0x2028)), QString(QChar(0x3000)), QStringLiteral("."),
        QStringLiteral("!"), QStringLiteral("?"), QStringLiteral("ok"), QStringLiteral("x"),
        QStringLiteral("é"), QStringLiteral("😀"), QString(QChar(0xd800)), QString(120, u'a'),
        QString(90, u' ')};
    std::uniform_int_distribution<int> count(1, 24);
    std::uniform_int_distribution<qsizetype> piece(0, pieces.size() - 1);
    QString text;
    for (int index = count(random); index > 0; --index)
        text += pieces[piece(random)];
    return text;
}

TEST(PinPhrase, FindsWhatThePatternFindsOnEveryKindOfDictation) {
    std::mt19937 random(20261207);
    for (int round = 0; round < 15000; ++round) {
        const QString text = randomDictation(random);
        ASSERT_EQ(PinPhrase::find(text), byThePattern(text)) << text.toStdString();
    }
}

TEST(PinPhrase, BlanksAfterTheOpeningOrThePinTakeLinearTime) {
    // A model looping on white space, or a key held down: the pattern's search ran out of its budget on
    // these and took the note for no note at all.
    const QString blanks(200000, u' ');
    EXPECT_EQ(MemoryDetector::pin(QStringLiteral("Note to self: book") + blanks + QStringLiteral("x")), std::nullopt);
    EXPECT_EQ(MemoryDetector::pin(QStringLiteral("Note to self: book the room") + blanks),
              QStringLiteral("Book the room"));
    EXPECT_EQ(MemoryDetector::pin(QStringLiteral("note to self:") + blanks + QStringLiteral("call Bo. Then")),
              QStringLiteral("Call Bo"));
    EXPECT_EQ(MemoryDetector::pin(QStringLiteral("pin that") + blanks + QStringLiteral("!") + blanks + QStringLiteral("x")),
              std::nullopt);

    // The same shapes, short enough for the pattern itself: the answers agree.
    const QString few(300, u' ');
    for (const QString& text : {QStringLiteral("Note to self: book") + few + QStringLiteral("x"),
                                QStringLiteral("note to self:") + few + QStringLiteral("call Bo. Then"),
                                QStringLiteral("pin that") + few + QStringLiteral("!") + few + QStringLiteral("x")})
        EXPECT_EQ(PinPhrase::find(text), byThePattern(text)) << text.simplified().toStdString();
}

TEST(PinPhrase, ATooShortPinAheadOfALaterNoteIsStillNoPin) {
    // With two spaces after the colon the pattern settles on " ok" (one space given back), too short to
    // keep, and looks no further; with one it has none to give back and goes on to the second note.
    const QString twoSpaces = QStringLiteral("Note to self:  ok. \nNote to self: call Bo.");
    EXPECT_EQ(PinPhrase::find(twoSpaces), byThePattern(twoSpaces));
    EXPECT_EQ(MemoryDetector::pin(twoSpaces), std::nullopt);
    const QString oneSpace = QStringLiteral("Note to self: ok. \nNote to self: call Bo.");
    EXPECT_EQ(PinPhrase::find(oneSpace), byThePattern(oneSpace));
    EXPECT_EQ(MemoryDetector::pin(oneSpace), QStringLiteral("Call Bo"));
}

} // namespace
} // namespace lumeno
