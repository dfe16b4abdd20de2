#include "MemoryTestSupport.h"

#include "memory/DateDetector.h"

namespace lumeno {
namespace {

QDateTime local(int year, int month, int day, int hour = 12, int minute = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::LocalTime).toUTC();
}

// Wednesday 4 March 2026, 10:00 in Ljubljana.
class DateDetectorTest : public ::testing::Test {
protected:
    ScopedTimeZone zone{"Europe/Ljubljana"};
    ManualClock clock{local(2026, 3, 4, 10)};
    DateDetector detector{clock};

    // The expression found in `text` and its date, or "<none>".
    std::pair<QString, QDateTime> found(const QString& text) const {
        const auto result = detector.firstDate(text);
        if (!result)
            return {QStringLiteral("<none>"), {}};
        return {text.mid(result->range.start, result->range.length), result->date};
    }
};

using Expected = std::pair<QString, QDateTime>;

TEST_F(DateDetectorTest, NamedDaysAreNoonOfTheirDay) {
    EXPECT_EQ(found("send it to you by Friday"), Expected("Friday", local(2026, 3, 6)));
    EXPECT_EQ(found("call you tomorrow"), Expected("tomorrow", local(2026, 3, 5)));
    EXPECT_EQ(found("finish it today"), Expected("today", local(2026, 3, 4)));
    EXPECT_EQ(found("ship the day after tomorrow"), Expected("the day after tomorrow", local(2026, 3, 6)));
    EXPECT_EQ(found("review it on Monday"), Expected("on Monday", local(2026, 3, 9)));
    EXPECT_EQ(found("review it this Friday"), Expected("this Friday", local(2026, 3, 6)));
    EXPECT_EQ(found("review it next Friday"), Expected("next Friday", local(2026, 3, 13)));
    EXPECT_EQ(found("call Tue or Thu"), Expected("Tue", local(2026, 3, 10)));
    EXPECT_EQ(found("talk Wednesday"), Expected("Wednesday", local(2026, 3, 11))) << "today's weekday is next week's";
}

TEST_F(DateDetectorTest, PeriodsResolveToADay) {
    EXPECT_EQ(found("do it next week"), Expected("next week", local(2026, 3, 9)));
    EXPECT_EQ(found("do it this week"), Expected("this week", local(2026, 3, 6)));
    EXPECT_EQ(found("do it by the end of the week"), Expected("the end of the week", local(2026, 3, 6)));
    EXPECT_EQ(found("fix it over the weekend"), Expected("the weekend", local(2026, 3, 7)));
    EXPECT_EQ(found("pay next month"), Expected("next month", local(2026, 4, 1)));
    EXPECT_EQ(found("pay by end of the month"), Expected("end of the month", local(2026, 3, 31)));
    EXPECT_EQ(found("reply by end of day"), Expected("end of day", local(2026, 3, 4, 17)));
    EXPECT_EQ(found("reply by EOD"), Expected("EOD", local(2026, 3, 4, 17)));
    EXPECT_EQ(found("call tonight"), Expected("tonight", local(2026, 3, 4, 20)));
}

TEST_F(DateDetectorTest, CalendarDatesWithAndWithoutAYear) {
    EXPECT_EQ(found("send it March 5"), Expected("March 5", local(2026, 3, 5)));
    EXPECT_EQ(found("send it 5 March"), Expected("5 March", local(2026, 3, 5)));
    EXPECT_EQ(found("send it March 3rd"), Expected("March 3rd", local(2027, 3, 3))) << "passed: next year's";
    EXPECT_EQ(found("send it on March 3rd, 2026"), Expected("on March 3rd, 2026", local(2026, 3, 3)));
    EXPECT_EQ(found("send it 3/15"), Expected("3/15", local(2026, 3, 15)));
    EXPECT_EQ(found("send it 2026-04-01 please"), Expected("2026-04-01", local(2026, 4, 1)));
    EXPECT_EQ(found("send it may 12"), Expected("may 12", local(2026, 5, 12)));
    EXPECT_EQ(found("send 13/45 copies"), Expected("<none>", {}));
    EXPECT_EQ(found("meet Feb 30"), Expected("<none>", {}));
}

TEST_F(DateDetectorTest, TimesAloneAreTodayUntilTheyPass) {
    EXPECT_EQ(found("call you at 3"), Expected("at 3", local(2026, 3, 4, 15)));
    EXPECT_EQ(found("call you 3pm"), Expected("3pm", local(2026, 3, 4, 15)));
    EXPECT_EQ(found("call you at 3:30 pm"), Expected("at 3:30 pm", local(2026, 3, 4, 15, 30)));
    EXPECT_EQ(found("call you 15:30"), Expected("15:30", local(2026, 3, 4, 15, 30)));
    EXPECT_EQ(found("call you at noon"), Expected("at noon", local(2026, 3, 4, 12)));
    EXPECT_EQ(found("call you in the afternoon"), Expected("in the afternoon", local(2026, 3, 4, 15)));
    EXPECT_EQ(found("call you 9am"), Expected("9am", local(2026, 3, 5, 9))) << "9:00 has passed";
    EXPECT_EQ(found("call you at 25"), Expected("<none>", {}));
}

TEST_F(DateDetectorTest, ADayAndItsTimeReadAsOne) {
    EXPECT_EQ(found("call tomorrow at 3pm"), Expected("tomorrow at 3pm", local(2026, 3, 5, 15)));
    EXPECT_EQ(found("call Friday, 10:30 ok"), Expected("Friday, 10:30", local(2026, 3, 6, 10, 30)));
    EXPECT_EQ(found("call 3pm on Friday"), Expected("3pm on Friday", local(2026, 3, 6, 15)));
    EXPECT_EQ(found("call tomorrow morning"), Expected("tomorrow morning", local(2026, 3, 5, 9)));
    EXPECT_EQ(found("call tonight at 9pm"), Expected("tonight at 9pm", local(2026, 3, 4, 21)));
    EXPECT_EQ(found("call Friday or Monday"), Expected("Friday", local(2026, 3, 6)));
}

TEST_F(DateDetectorTest, RelativeSpans) {
    EXPECT_EQ(found("ping you in 2 hours"), Expected("in 2 hours", local(2026, 3, 4, 12)));
    EXPECT_EQ(found("ping you in ten minutes"), Expected("in ten minutes", local(2026, 3, 4, 10, 10)));
    EXPECT_EQ(found("ping you in an hour"), Expected("in an hour", local(2026, 3, 4, 11)));
    EXPECT_EQ(found("ping you in three days"), Expected("in three days", local(2026, 3, 7)));
    EXPECT_EQ(found("ping you in 2 weeks"), Expected("in 2 weeks", local(2026, 3, 18)));
}

TEST_F(DateDetectorTest, WordsThatAreNotDates) {
    for (const char* text : {"do it", "try", "look into it", "call you", "asap", "then", "soon", "later", "now",
                             "may", "march", "sun", "sat", "wed", "second", "in a second", "send 3 copies",
                             "meet at the office", "may I"})
        EXPECT_EQ(found(text), Expected("<none>", {})) << text;
}

} // namespace
} // namespace lumeno
