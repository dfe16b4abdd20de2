#include "MemoryTestSupport.h"

#include "memory/MemoryDetector.h"

namespace lumeno {
namespace {

// Wednesday 4 March 2026, 10:00 UTC.
class CommitmentDetection : public ::testing::Test {
protected:
    ScopedTimeZone zone{"UTC"};
    ManualClock clock{utc(2026, 3, 4, 10)};
    DateDetector dates{clock};

    std::optional<MemoryDetector::Detected> detect(const QString& text) const {
        return MemoryDetector::commitment(text, clock.now(), dates);
    }
    using Detected = MemoryDetector::Detected;
};

TEST_F(CommitmentDetection, APromiseBecomesATaskWithItsDate) {
    EXPECT_EQ(detect(QString::fromUtf8("I’ll send you the deck by Friday.")),
              (Detected{"Send you the deck", utc(2026, 3, 6, 12)}));
    EXPECT_EQ(detect("Sure, I'll call you tomorrow"), (Detected{"Call you", utc(2026, 3, 5, 12)}));
    EXPECT_EQ(detect("I'll do it."), (Detected{"Do it", std::nullopt}));
    EXPECT_EQ(detect("WE WILL ship the fix on Monday, promise"), (Detected{"Ship the fix , promise", utc(2026, 3, 9, 12)}));
    EXPECT_EQ(detect(QString::fromUtf8("i’m going to book the room for you")), (Detected{"Book the room", std::nullopt}));
    EXPECT_EQ(detect("Let me check the numbers tonight at 9pm"), (Detected{"Check the numbers", utc(2026, 3, 4, 21)}));
}

TEST_F(CommitmentDetection, NonPromisesAndTooShortActionsAreRejected) {
    for (const char* text : {"I'll try", "I will be there", "I'll see you then", "let me know", "let me think about it",
                             "Hawaii'll be sunny", "I'll maybe come", ""})
        EXPECT_EQ(detect(text), std::nullopt) << text;
    EXPECT_EQ(detect("I'll talk to your team lead"), std::nullopt) << "\"talk to you\" is a plain prefix";
    EXPECT_EQ(detect("I'll bet on it"), (Detected{"Bet on it", std::nullopt})) << "\"be \" needs its space";
    EXPECT_EQ(detect("I'll call tomorrow"), (Detected{"Call", utc(2026, 3, 5, 12)})) << "one word with a date";
}

TEST_F(CommitmentDetection, OnlyTheFirstAcceptablePromiseCounts) {
    EXPECT_EQ(detect("I'll look into it. I'll send the report on Monday"), (Detected{"Look into it", std::nullopt}));
    EXPECT_EQ(detect("I'll see. I'll send the report on Monday"), (Detected{"Send the report", utc(2026, 3, 9, 12)}));
}

TEST_F(CommitmentDetection, AnActionStopsAt140Characters) {
    const QString action = QString("send ") + QString(200, 'x');
    const auto found = detect("I'll " + action);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->text, "S" + action.mid(1, 139));
}

TEST(PinDetection, NotesToSelfAndPins) {
    EXPECT_EQ(MemoryDetector::pin("note to self: buy milk."), QString("Buy milk"));
    EXPECT_EQ(MemoryDetector::pin("Pin this, the code is in the drawer"), QString("The code is in the drawer"));
    EXPECT_EQ(MemoryDetector::pin("ok. Note to self remember the 3.5 version! Then more"), QString("Remember the 3.5 version"));
    EXPECT_EQ(MemoryDetector::pin("note to self: ok!!"), std::nullopt);
    EXPECT_EQ(MemoryDetector::pin("note to self ok"), std::nullopt);
    EXPECT_EQ(MemoryDetector::pin(""), std::nullopt);
}

TEST(PinDetection, TheNoteLeavesTheReplyAndTheRestReadsOn) {
    const auto without = [](const char* text) { return MemoryDetector::withoutPin(QString::fromUtf8(text)); };
    // Before, after and between: the words that led into it and its stop go with it.
    EXPECT_EQ(without("Tell her Thursday works. Note to self: she prefers mornings."), "Tell her Thursday works.");
    EXPECT_EQ(without("Note to self, Bo's code is 4471. Tell him thanks for the tip"), "Tell him thanks for the tip");
    EXPECT_EQ(without("Say yes! Pin that the deposit is due in May! Ask about parking"), "Say yes! Ask about parking");
    EXPECT_EQ(without("Tell her Thursday works, note to self: she prefers mornings. And thank her"),
              "Tell her Thursday works. And thank her");
    EXPECT_EQ(without("Say thanks — pin this: the code is in the drawer"), "Say thanks");
    // Only the request pin() takes its text from: a later one stays, and so does one too short to keep.
    EXPECT_EQ(without("note to self: buy milk. Note to self: call Bo."), "Note to self: call Bo.");
    EXPECT_EQ(without("Tell her yes, note to self: ok!!"), "Tell her yes, note to self: ok!!");
    EXPECT_EQ(without("Tell her Thursday works"), "Tell her Thursday works");
    // All of it a note: nothing is left to reply with.
    EXPECT_EQ(without("  Note to self: Bo's code is 4471.  "), "");
}

} // namespace
} // namespace lumeno
