#include "DetailsTestSupport.h"

#include "details/DraftDetailsLine.h"
#include "testsupport/StoredNames.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <limits>

namespace lumeno {
namespace {

using testing::bareRecord;
using testing::fullRecord;
using testing::utc;

QByteArray encoded(const DraftDetails& details) {
    const std::optional<QByteArray> line = DraftDetailsLine::encode(details);
    EXPECT_TRUE(line.has_value());
    return line.value_or(QByteArray());
}

// A line as written for `details`, with one key of the top-level object or of a part replaced.
QByteArray withChange(const DraftDetails& details, const std::function<void(QJsonObject&)>& change) {
    QJsonObject object = QJsonDocument::fromJson(encoded(details)).object();
    change(object);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

TEST(DraftDetailsLineTest, ABareRecordIsExactlyItsThreeKeysInOrder) {
    DraftDetails details = bareRecord();
    details.id = QUuid("{0f8fad5b-d9cb-469f-a165-70867728950e}");
    EXPECT_EQ(encoded(details),
              R"({"date":"2026-03-02T09:00:05Z","id":"0F8FAD5B-D9CB-469F-A165-70867728950E","kind":"reply"})");
}

TEST(DraftDetailsLineTest, NestedKeysAreSortedAndAbsentPartsLeftOut) {
    const QByteArray line = encoded(fullRecord());
    EXPECT_FALSE(line.contains('\n'));
    EXPECT_FALSE(line.contains("null"));
    EXPECT_FALSE(line.contains("webHost")); // absent optional inside a part
    EXPECT_FALSE(line.contains("\"edit\""));
    const auto position = [&line](const char* key) { return line.indexOf(QByteArray("\"") + key + "\":"); };
    const char* recordKeys[] = {"conversation", "date", "dictation", "field", "id", "kind", "lineBreaks",
                                "outcome", "recipient", "result", "signName", "speech", "style", "userName"};
    for (std::size_t i = 1; i < std::size(recordKeys); ++i)
        EXPECT_LT(position(recordKeys[i - 1]), position(recordKeys[i])) << recordKeys[i];
    EXPECT_TRUE(line.contains(R"("field":{"app":"Mail","bundleID":"org.example.mail","editable":"editable",)"
                              R"("focusMilliseconds":14,"role":"AXTextArea","surface":"email",)"
                              R"("windowTitle":"Re: Quarterly numbers"})"));
    EXPECT_TRUE(line.contains(R"("style":{"knobs":"short, warm, casual","learnedCount":1,"pastedCount":1,)"
                              R"("samples":["Thanks! Will do.","Sounds good to me."]})"));
}

TEST(DraftDetailsLineTest, EveryFieldSurvivesTheRoundTripExceptTheFractionOfASecond) {
    DraftDetails details = fullRecord(utc(2026, 3, 2, 9, 0, 5, 730));
    details.kind = DraftDetails::Kind::edit;
    details.edit = DraftDetails::Edit{EditRequest::Scope::wholeField, "make it shorter", "A long text"};
    details.conversation->status = DraftDetails::Conversation::Status::tooLittle;
    details.result->seconds = 0.1 + 0.2; // must read back as the same double
    details.dictation = "Line one\nshe said \"yes\" to a/b \\ c\ttab";

    const QByteArray line = encoded(details);
    EXPECT_FALSE(line.contains('\n'));
    EXPECT_TRUE(line.contains(R"(a\/b)"));
    const std::optional<DraftDetails> read = DraftDetailsLine::decode(line);
    ASSERT_TRUE(read.has_value());
    EXPECT_NE(*read, details);
    EXPECT_EQ(read->date, utc(2026, 3, 2, 9, 0, 5));
    DraftDetails whole = details;
    whole.date = read->date;
    EXPECT_EQ(*read, whole);
}

// In a part of the record: `key` of the object at `part` set to `value`, or removed when it is undefined.
std::function<void(QJsonObject&)> inPart(const char* part, const char* key, QJsonValue value) {
    return [=](QJsonObject& o) {
        QJsonObject inner = o[part].toObject();
        if (value.isUndefined())
            inner.remove(key);
        else
            inner.insert(key, value);
        o[part] = inner;
    };
}

TEST(DraftDetailsLineTest, StrictTypesRequiredKeysDatesIdsAndRawValues) {
    const DraftDetails details = fullRecord();
    const std::vector<std::pair<const char*, std::function<void(QJsonObject&)>>> breakages = {
        {"kind in capitals", [](QJsonObject& o) { o["kind"] = "Reply"; }},
        {"unknown kind", [](QJsonObject& o) { o["kind"] = "draft"; }},
        {"unknown status", inPart("conversation", "status", "Found")},
        {"unknown surface", inPart("field", "surface", "mail")},
        {"fractional date", [](QJsonObject& o) { o["date"] = "2026-03-02T09:00:05.250Z"; }},
        {"date without zone", [](QJsonObject& o) { o["date"] = "2026-03-02 09:00:05"; }},
        {"not a UUID", [](QJsonObject& o) { o["id"] = "record-1"; }},
        {"missing kind", [](QJsonObject& o) { o.remove("kind"); }},
        {"outcome as a number", [](QJsonObject& o) { o["outcome"] = 3; }},
        {"recipient without how", inPart("recipient", "how", QJsonValue(QJsonValue::Undefined))},
        {"characters as text", inPart("conversation", "characters", "412")},
        {"result without seconds", inPart("result", "seconds", QJsonValue(QJsonValue::Undefined))},
    };
    for (const auto& [what, change] : breakages)
        EXPECT_FALSE(DraftDetailsLine::decode(withChange(details, change))) << what;
    EXPECT_FALSE(DraftDetailsLine::decode("not json"));
    EXPECT_FALSE(DraftDetailsLine::decode("[1,2]"));
}

TEST(DraftDetailsLineTest, KindsStatusesAndScopesAreStoredByTheseNames) {
    EXPECT_EQ(testing::storedNames<DraftDetails::Kind>(), "reply edit");
    EXPECT_EQ(testing::storedNames<DraftDetails::Conversation::Status>(), "found tooLittle off skipped");
    EXPECT_EQ(testing::storedNames<EditRequest::Scope>(), "selection wholeField");
}

TEST(DraftDetailsLineTest, ExtraKeysAreIgnoredAndNullPartsReadAsAbsent) {
    const DraftDetails details = fullRecord();
    const std::optional<DraftDetails> withExtra =
        DraftDetailsLine::decode(withChange(details, [](QJsonObject& o) { o["mood"] = "cheerful"; }));
    ASSERT_TRUE(withExtra);
    EXPECT_EQ(*withExtra, details);

    const std::optional<DraftDetails> withNulls = DraftDetailsLine::decode(withChange(details, [](QJsonObject& o) {
        o["recipient"] = QJsonValue::Null;
        o["outcome"] = QJsonValue::Null;
    }));
    ASSERT_TRUE(withNulls);
    EXPECT_FALSE(withNulls->recipient);
    EXPECT_FALSE(withNulls->outcome);
    EXPECT_EQ(withNulls->field, details.field);
}

TEST(DraftDetailsLineTest, ADraftingTimeThatIsNotANumberIsNotWritten) {
    DraftDetails details = fullRecord();
    details.result->seconds = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(DraftDetailsLine::encode(details));
    details.result->seconds = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(DraftDetailsLine::encode(details));
}

TEST(DraftDetailsTest, AStartedRecordHasAFreshIdTheClockTimeAndNothingElse) {
    ManualClock clock(utc(2026, 3, 2, 9, 0, 5, 250));
    const DraftDetails first = DraftDetails::started(DraftDetails::Kind::edit, clock);
    EXPECT_NE(first.id, DraftDetails::started(DraftDetails::Kind::edit, clock).id);
    DraftDetails expected = bareRecord(DraftDetails::Kind::edit, clock.now());
    expected.id = first.id;
    EXPECT_EQ(first, expected);
}

} // namespace
} // namespace lumeno
