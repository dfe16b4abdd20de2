#include "support/Json.h"

#include <QFile>
#include <QTimeZone>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace lumeno {
namespace {

QDateTime utc(int year, int month, int day, int hour, int minute, int second, int msec = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec), Qt::UTC);
}

QByteArray goldenBytes() {
    QFile file(QStringLiteral(LUMENO_TEST_DATA_DIR "/golden.json"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "missing golden.json";
    return file.readAll();
}

// Everything the stored files use, built the way the stores build it.
QJsonObject goldenDocument() {
    return QJsonObject{
        {"version", 3},
        {"whole", 2.0},
        {"negative", -42},
        {"int64", qint64(9007199254740993)},
        {"big", 1e20},
        {"ratio", 0.1},
        {"third", 1.0 / 3.0},
        {"tiny", 1e-7},
        {"precise", 2500000000000000.5},
        {"flag", true},
        {"off", false},
        {"nothing", QJsonValue::Null},
        {"name", QStringLiteral("Zoë \"Z\" O'Brien")},
        {"path", "https://example.com/a\\b"},
        {"controls", QStringLiteral("tab\tline\nreturn\rbell\aback\bfeed\f") + QChar(0x1f) + QChar(0)},
        {"text", QStringLiteral("👋🏽 ß İ ς\u00a0é")},
        {"Zebra", "capitals sort before lower case"},
        {QStringLiteral("ümlaut"), "non-ASCII keys sort by code point"},
        {"created", Json::date(utc(2026, 3, 2, 9, 0, 0, 999))},
        {"id", Json::uuid(QUuid(QStringLiteral("{6f1c0c4e-8b2a-4d3e-9f10-abcdef012345}")))},
        {"emptyArray", QJsonArray{}},
        {"emptyObject", QJsonObject{}},
        {"matrix", QJsonArray{QJsonArray{1, 2}, QJsonArray{}}},
        {"people", QJsonArray{QJsonObject{{"tags", QJsonArray{"a", "b"}}, {"name", "Ada"}}, QJsonObject{}}},
    };
}

// ---- Writer: the byte format stored files depend on

TEST(JsonWriter, PrettyOutputMatchesTheGoldenFileByteForByte) {
    const QByteArray written = Json::write(goldenDocument());
    const QByteArray golden = goldenBytes();
    EXPECT_EQ(written, golden) << "written:\n" << written.constData() << "\ngolden:\n" << golden.constData();
}

TEST(JsonWriter, GoldenFileReadsBackToTheSameDocument) {
    QString error;
    const auto parsed = Json::parse(goldenBytes(), &error);
    ASSERT_TRUE(parsed) << error.toStdString();
    EXPECT_EQ(Json::write(*parsed), goldenBytes());
}

TEST(JsonWriter, CompactHasNoWhitespaceAtAllForJsonLines) {
    const QJsonObject record{{"b", QJsonArray{1, QJsonObject{}, QJsonArray{}}},
                             {"a", QJsonObject{{"y", "two words"}, {"x", QJsonValue::Null}}},
                             {"c", "line\nbreak/slash"}};
    EXPECT_EQ(Json::write(record, Json::Style::compact),
              R"({"a":{"x":null,"y":"two words"},"b":[1,{},[]],"c":"line\nbreak\/slash"})");
}

TEST(JsonWriter, EscapesExactlyTheListedCharacters) {
    auto written = [](const QString& text) { return Json::write(QJsonValue(text), Json::Style::compact); };
    EXPECT_EQ(written("\" \\ / \b \f \n \r \t"), R"("\" \\ \/ \b \f \n \r \t")");
    EXPECT_EQ(written(QString(QChar(0x01)) + QChar(0x0b) + QChar(0x1b)), R"("\u0001\u000b\u001b")");
    // DEL, line and paragraph separators, non-ASCII and astral characters go out as plain UTF-8.
    const QString plain = QString(QChar(0x7f)) + QChar(0x2028) + QChar(0x2029) + QStringLiteral("é😀");
    EXPECT_EQ(written(plain), '"' + plain.toUtf8() + '"');
    // Keys are strings too.
    EXPECT_EQ(Json::write(QJsonObject{{"a/b\n", 1}}, Json::Style::compact), R"({"a\/b\n":1})");
}

TEST(JsonWriter, ALoneSurrogateKeepsItsEscapeAndReadsBackAsItWas) {
    // Text read from other programs' fields may hold half of a pair; UTF-8 cannot, so it stays an escape.
    const QString lone = QStringLiteral("a") + QChar(0xd83d) + QStringLiteral("b/") + QChar(0xdc00);
    EXPECT_EQ(Json::write(QJsonValue(lone), Json::Style::compact), R"("a\ud83db\/\udc00")");
    for (const QByteArray& stored : {QByteArray(R"({"note":"\ud83d"})"), QByteArray(R"({"note":"x\udfff\ud800y"})")}) {
        const auto parsed = Json::parse(stored);
        ASSERT_TRUE(parsed) << stored.constData();
        EXPECT_EQ(Json::write(*parsed, Json::Style::compact), stored);
    }
    // A whole pair, escaped or not, is written as the UTF-8 of its character.
    const auto pair = Json::parse(R"(["\ud83d\ude00"])");
    ASSERT_TRUE(pair);
    EXPECT_EQ(Json::write(*pair, Json::Style::compact), "[\"" + QStringLiteral("😀").toUtf8() + "\"]");
    EXPECT_EQ(Json::write(QJsonObject{{QString(QChar(0xdc00)), 1}}, Json::Style::compact), R"({"\udc00":1})");
}

TEST(JsonWriter, NumbersAreIntegersWhenIntegralAndShortestOtherwise) {
    auto written = [](const QJsonValue& value) { return Json::write(value, Json::Style::compact); };
    EXPECT_EQ(written(0), "0");
    EXPECT_EQ(written(-0.0), "0");
    EXPECT_EQ(written(3.0), "3");
    EXPECT_EQ(written(std::numeric_limits<qint64>::max()), "9223372036854775807");
    EXPECT_EQ(written(std::numeric_limits<qint64>::min()), "-9223372036854775808");
    EXPECT_EQ(written(9007199254740992.0), "9007199254740992");
    EXPECT_EQ(written(9007199254740994.0), "9007199254740994");
    EXPECT_EQ(written(-1e20), "-100000000000000000000");
    EXPECT_EQ(written(1e300).size(), 301);
    EXPECT_EQ(written(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(written(-1.25), "-1.25");
    EXPECT_EQ(written(5e-324), "5e-324");
    // JSON has no infinities or NaN.
    EXPECT_EQ(written(std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(written(std::nan("")), "null");
}

TEST(JsonWriter, EveryFiniteDoubleRoundTripsExactly) {
    for (const double d : {0.1, 1.0 / 3.0, 2.0 / 3.0, 1e-7, 123456.789, 5e-324, 2.2250738585072014e-308,
                           1.7976931348623157e308, -9007199254740993.0, 4503599627370495.5, 1e22, 1e23}) {
        const auto parsed = Json::parse(Json::write(QJsonArray{d}));
        ASSERT_TRUE(parsed) << d;
        EXPECT_EQ(parsed->toArray().first().toDouble(), d) << Json::write(QJsonArray{d}).constData();
        EXPECT_FALSE(Json::write(QJsonArray{d}).contains("e+")) << d;
    }
}

TEST(JsonWriter, ScalarsAndEmptyContainersStandAlone) {
    EXPECT_EQ(Json::write(QJsonValue(true)), "true");
    EXPECT_EQ(Json::write(QJsonValue()), "null");
    EXPECT_EQ(Json::write(QJsonValue(QJsonValue::Undefined)), "null");
    EXPECT_EQ(Json::write(QJsonObject{}), "{}");
    EXPECT_EQ(Json::write(QJsonArray{}), "[]");
    // An array holding an empty array (braces around a lone array would copy it with some compilers).
    EXPECT_EQ(Json::write(QJsonArray{QJsonValue(QJsonArray{})}), "[\n  []\n]");
}

// ---- Dates and UUIDs

TEST(JsonDate, WritesUtcWholeSecondsWhateverTheInputZone) {
    EXPECT_EQ(Json::date(utc(2026, 3, 2, 9, 0, 59, 999)), QJsonValue("2026-03-02T09:00:59Z"));
    const QDateTime plusTwo(QDate(2026, 1, 1), QTime(1, 30), QTimeZone(2 * 3600));
    EXPECT_EQ(Json::date(plusTwo), QJsonValue("2025-12-31T23:30:00Z"));
    EXPECT_EQ(Json::date(QDateTime()), QJsonValue(QJsonValue::Null));
}

TEST(JsonDate, ParsesUtcAndNumericOffsets) {
    EXPECT_EQ(Json::parseDate("2026-03-02T09:00:00Z"), utc(2026, 3, 2, 9, 0, 0));
    EXPECT_EQ(Json::parseDate("2026-03-02T11:00:00+02:00"), utc(2026, 3, 2, 9, 0, 0));
    EXPECT_EQ(Json::parseDate("2026-03-01T23:30:00-05:30"), utc(2026, 3, 2, 5, 0, 0));
    EXPECT_EQ(Json::parseDate("2024-02-29T00:00:00+00:00"), utc(2024, 2, 29, 0, 0, 0));
    const auto parsed = Json::parseDate("2026-03-02T11:00:00+02:00");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->timeSpec(), Qt::UTC);
    EXPECT_EQ(Json::date(*Json::parseDate("2026-03-02T09:00:00Z")), QJsonValue("2026-03-02T09:00:00Z"));
}

TEST(JsonDate, RejectsEveryOtherForm) {
    for (const char* text : {
             "",
             "2026-03-02T09:00:00.5Z",    // fractions
             "2026-03-02T09:00:00.000Z",  //
             "2026-03-02T09:00:00",       // no zone
             "2026-03-02 09:00:00Z",      // space for T
             "2026-03-02t09:00:00z",      // lower case
             "2026-03-02T09:00Z",         // no seconds
             "2026-3-2T09:00:00Z",        // short fields
             "2026-02-30T09:00:00Z",      // no such day
             "2025-02-29T09:00:00Z",      // not a leap year
             "2026-13-01T09:00:00Z",      //
             "2026-03-02T24:00:00Z",      //
             "2026-03-02T23:59:60Z",      // leap second
             "2026-03-02T09:00:00+0200",  // offset without colon
             "2026-03-02T09:00:00+02",    //
             "2026-03-02T09:00:00+24:00", //
             "2026-03-02T09:00:00+02:60", //
             "2026-03-02T09:00:00Z ",     // trailing space
             " 2026-03-02T09:00:00Z",     //
             "+2026-03-02T09:00:00Z",     //
             "2026-03-02T09:00:00GMT",    //
         }) {
        EXPECT_FALSE(Json::parseDate(QString::fromUtf8(text))) << text;
    }
    // Digits of other scripts are digits to Unicode but not to this format.
    EXPECT_FALSE(Json::parseDate(QStringLiteral("٢٠٢٦-03-02T09:00:00Z")));
}

TEST(JsonUuid, WritesUpperCaseWithoutBracesAndReadsEitherCase) {
    const QUuid id(QStringLiteral("{6f1c0c4e-8b2a-4d3e-9f10-abcdef012345}"));
    EXPECT_EQ(Json::uuid(id), QJsonValue("6F1C0C4E-8B2A-4D3E-9F10-ABCDEF012345"));
    EXPECT_EQ(Json::parseUuid("6F1C0C4E-8B2A-4D3E-9F10-ABCDEF012345"), id);
    EXPECT_EQ(Json::parseUuid("6f1c0c4e-8b2a-4d3e-9f10-abcdef012345"), id);
    for (const char* text : {"{6F1C0C4E-8B2A-4D3E-9F10-ABCDEF012345}", "6F1C0C4E8B2A4D3E9F10ABCDEF012345",
                             "6F1C0C4E-8B2A-4D3E-9F10-ABCDEF01234", "6F1C0C4E-8B2A-4D3E-9F10-ABCDEF0123456",
                             "6F1C0C4E-8B2A4-D3E-9F10-ABCDEF012345", "6F1C0C4G-8B2A-4D3E-9F10-ABCDEF012345",
                             " 6F1C0C4E-8B2A-4D3E-9F10-ABCDEF01234", ""}) {
        EXPECT_FALSE(Json::parseUuid(QString::fromUtf8(text))) << text;
    }
}

// ---- Parsing documents

TEST(JsonParse, AcceptsAnyValueAtTheTop) {
    EXPECT_EQ(Json::parse("42"), QJsonValue(42));
    EXPECT_EQ(Json::parse(" \"text\" \n"), QJsonValue("text"));
    EXPECT_EQ(Json::parse("null"), QJsonValue(QJsonValue::Null));
    EXPECT_EQ(Json::parse("false"), QJsonValue(false));
    EXPECT_EQ(Json::parse(R"({"a":[1]})"), QJsonValue(QJsonObject{{"a", QJsonArray{1}}}));
    EXPECT_EQ(Json::parse("[]"), QJsonValue(QJsonArray{}));
}

TEST(JsonParse, RejectsWhatIsNotOneJsonValueAndSaysWhy) {
    for (const QByteArray& data :
         {QByteArray("1],[2"), QByteArray("1 2"), QByteArray("[1] x"), QByteArray("{\"a\":}"),
          QByteArray("\"unterminated"), QByteArray("nul"), QByteArray("[\"\xff\"]"), QByteArray("{'a':1}")}) {
        QString error;
        EXPECT_FALSE(Json::parse(data, &error)) << data.constData();
        EXPECT_TRUE(error.contains("offset")) << error.toStdString();
    }
    QString error;
    EXPECT_FALSE(Json::parse(" \n", &error));
    EXPECT_EQ(error, "The document is empty");
    EXPECT_FALSE(Json::parse("1, 2", &error));
    EXPECT_EQ(error, "More than one value at the top of the document");
}

// ---- Strict reading

class JsonReaderTest : public ::testing::Test {
protected:
    const QJsonObject record{
        {"name", "Ada"},
        {"count", 3},
        {"wholeDouble", 2.0},
        {"fraction", 1.5},
        {"huge", 1e20},
        {"ratio", 0.25},
        {"flag", true},
        {"created", "2026-03-02T09:00:00Z"},
        {"id", "6F1C0C4E-8B2A-4D3E-9F10-ABCDEF012345"},
        {"tags", QJsonArray{"a", "b"}},
        {"nested", QJsonObject{{"x", 1}}},
        {"nothing", QJsonValue::Null},
        {"unknownExtra", "ignored"},
    };
};

TEST_F(JsonReaderTest, ReadsEveryTypeAndTreatsNullAsAbsentForOptionals) {
    JsonReader reader(record);
    EXPECT_EQ(reader.string("name"), "Ada");
    EXPECT_EQ(reader.integer("count"), 3);
    EXPECT_EQ(reader.integer("wholeDouble"), 2);
    EXPECT_EQ(reader.number("count"), 3.0);
    EXPECT_EQ(reader.number("ratio"), 0.25);
    EXPECT_TRUE(reader.boolean("flag"));
    EXPECT_EQ(reader.date("created"), utc(2026, 3, 2, 9, 0, 0));
    EXPECT_EQ(reader.uuid("id"), QUuid(QStringLiteral("{6f1c0c4e-8b2a-4d3e-9f10-abcdef012345}")));
    EXPECT_EQ(reader.strings("tags"), (QStringList{"a", "b"}));
    EXPECT_EQ(reader.object("nested"), (QJsonObject{{"x", 1}}));
    EXPECT_EQ(reader.array("tags").size(), 2);
    EXPECT_EQ(reader.optionalString("nothing"), std::nullopt);
    EXPECT_EQ(reader.optionalInteger("absent"), std::nullopt);
    EXPECT_EQ(reader.optionalDate("nothing"), std::nullopt);
    EXPECT_EQ(reader.optionalUuid("absent"), std::nullopt);
    EXPECT_EQ(reader.optionalObject("nothing"), std::nullopt);
    EXPECT_EQ(reader.optionalBoolean("flag"), true);
    EXPECT_EQ(reader.optionalNumber("ratio"), 0.25);
    EXPECT_TRUE(reader.has("name"));
    EXPECT_FALSE(reader.has("nothing"));
    EXPECT_TRUE(reader.ok()) << reader.error().toStdString();
}

TEST_F(JsonReaderTest, EachWrongTypeIsAFaultNamingTheKey) {
    const std::vector<std::pair<std::function<void(JsonReader&)>, QString>> cases{
        {[](JsonReader& r) { r.string("count"); }, "count is not a string"},
        {[](JsonReader& r) { r.integer("fraction"); }, "fraction is not an integer"},
        {[](JsonReader& r) { r.integer("huge"); }, "huge is not an integer"},
        {[](JsonReader& r) { r.integer("name"); }, "name is not an integer"},
        {[](JsonReader& r) { r.number("flag"); }, "flag is not a number"},
        {[](JsonReader& r) { r.boolean("count"); }, "count is not a boolean"},
        {[](JsonReader& r) { r.date("name"); }, "name is not a date"},
        {[](JsonReader& r) { r.date("count"); }, "count is not a string"},
        {[](JsonReader& r) { r.uuid("name"); }, "name is not a UUID"},
        {[](JsonReader& r) { r.object("tags"); }, "tags is not an object"},
        {[](JsonReader& r) { r.array("nested"); }, "nested is not an array"},
        {[](JsonReader& r) { r.strings("name"); }, "name is not an array"},
        {[](JsonReader& r) { r.optionalString("count"); }, "count is not a string"},
        {[](JsonReader& r) { r.optionalInteger("fraction"); }, "fraction is not an integer"},
        {[](JsonReader& r) { r.optionalDate("name"); }, "name is not a date"},
        {[](JsonReader& r) { r.string("absent"); }, "absent is missing"},
        {[](JsonReader& r) { r.integer("nothing"); }, "nothing is missing"},
    };
    for (const auto& [read, message] : cases) {
        JsonReader reader(record);
        read(reader);
        EXPECT_FALSE(reader.ok()) << message.toStdString();
        EXPECT_EQ(reader.error(), message);
    }
}

TEST_F(JsonReaderTest, FirstFaultWinsAndLaterReadsReturnDefaults) {
    JsonReader reader(record, "settings");
    reader.integer("fraction");
    EXPECT_EQ(reader.string("name"), QString());
    EXPECT_EQ(reader.integer("count"), 0);
    EXPECT_EQ(reader.optionalString("name"), std::nullopt);
    reader.string("absent");
    reader.fail("a later fault");
    EXPECT_EQ(reader.error(), "settings.fraction is not an integer");
}

TEST(JsonReaderArrays, ElementFaultsNameTheirPath) {
    struct Person {
        QString name;
        QStringList aliases;
    };
    const std::function<Person(JsonReader&)> readPerson = [](JsonReader& r) {
        return Person{r.string("name"), r.strings("aliases")};
    };
    const QJsonObject good{{"people", QJsonArray{QJsonObject{{"name", "Ada"}, {"aliases", QJsonArray{"A"}}},
                                                 QJsonObject{{"name", "Bo"}, {"aliases", QJsonArray{}}}}}};
    JsonReader reader(good, "memory");
    const auto people = reader.objects<Person>("people", readPerson);
    ASSERT_TRUE(reader.ok()) << reader.error().toStdString();
    ASSERT_EQ(people.size(), 2u);
    EXPECT_EQ(people[1].name, "Bo");
    EXPECT_EQ(people[0].aliases, QStringList{"A"});

    const QJsonObject badAlias{
        {"people", QJsonArray{QJsonObject{{"name", "Ada"}, {"aliases", QJsonArray{"A"}}},
                              QJsonObject{{"name", "Bo"}, {"aliases", QJsonArray{"B", 7}}}}}};
    JsonReader aliasReader(badAlias, "memory");
    aliasReader.objects<Person>("people", readPerson);
    EXPECT_EQ(aliasReader.error(), "memory.people[1].aliases[1] is not a string");

    const QJsonObject notObject{{"people", QJsonArray{"Ada"}}};
    JsonReader topReader(notObject);
    topReader.objects<Person>("people", readPerson);
    EXPECT_EQ(topReader.error(), "people[0] is not an object");
}

} // namespace
} // namespace lumeno
