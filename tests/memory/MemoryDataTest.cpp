#include "MemoryTestSupport.h"

#include "memory/MemoryData.h"

#include <QFile>

namespace lumeno {
namespace {

QByteArray golden() {
    QFile file(QStringLiteral(LUMENO_TEST_DATA_DIR "/memory-golden.json"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

MemoryData goldenData() {
    const QUuid anna = uuid("0f8fad5b-d9cb-469f-a165-70867728950e");
    MemoryData data;
    data.people = {{anna, "Anna Novak", {"anna@example.com", "@anna/dev"}, "Prefers mornings",
                    utc(2025, 3, 1, 9, 30), utc(2025, 3, 2, 10, 0)}};
    data.commitments = {
        {uuid("7c9e6679-7425-40de-944b-e07fc1f90ae7"), "Send the deck", utc(2025, 3, 7, 12), anna, false,
         utc(2025, 3, 1, 9, 30)},
        {uuid("1b4e28ba-2fa1-11d2-883f-0016d3cca427"), "Book the room", std::nullopt, std::nullopt, true,
         utc(2025, 3, 2, 8)},
    };
    data.pins = {
        {uuid("6fa459ea-ee8a-3ca4-894e-db77e160355e"), "Door code is 4411", anna, QString("Q3 / planning"),
         utc(2025, 3, 3, 18, 45)},
        {uuid("16fd2706-8baf-433b-82eb-8c7fada847da"), "Parking on level 2", std::nullopt, std::nullopt,
         utc(2025, 3, 4, 7)},
    };
    return data;
}

// A document with one commitment whose JSON object is `commitment`, and nothing else.
QByteArray withCommitment(const char* commitment) {
    return QByteArray(R"({"version": 1, "people": [], "pins": [], "commitments": [)") + commitment + "]}";
}

TEST(PersonFirstName, SplitsAtPlainSpacesOnly) {
    auto firstName = [](const char* name) { return Person{{}, name, {}, {}, {}, {}}.firstName(); };
    EXPECT_EQ(firstName("Anna Novak"), "Anna");
    EXPECT_EQ(firstName("  Anna Novak"), "Anna");
    EXPECT_EQ(firstName("Anna"), "Anna");
    EXPECT_EQ(firstName(""), "");
    EXPECT_EQ(firstName("   "), "   ");
    EXPECT_EQ(firstName("Anna\tNovak"), "Anna\tNovak");
}

TEST(MemoryFile, WritesTheGoldenFormat) {
    EXPECT_EQ(QString::fromUtf8(goldenData().toJson()), QString::fromUtf8(golden()));
}

TEST(MemoryFile, GoldenFileReadsBackToTheSameMemory) {
    const std::optional<MemoryData> read = MemoryData::fromJson(golden());
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, goldenData());
}

TEST(MemoryFile, OptionalFieldsAreOmittedAndNullReadsAsNone) {
    const QByteArray bytes = goldenData().toJson();
    EXPECT_FALSE(bytes.contains("null"));

    const auto read = MemoryData::fromJson(withCommitment(
        R"({"id": "7c9e6679-7425-40de-944b-e07fc1f90ae7", "text": "x", "done": false,
            "createdAt": "2025-03-01T09:30:00Z", "due": null, "personID": null, "extra": 3})"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->commitments.front().due, std::nullopt);
    EXPECT_EQ(read->commitments.front().personID, std::nullopt);
    EXPECT_EQ(read->commitments.front().id, uuid("7C9E6679-7425-40DE-944B-E07FC1F90AE7"));

    const auto pins = MemoryData::fromJson(R"({"version": 1, "people": [], "commitments": [], "pins": [
        {"id": "16fd2706-8baf-433b-82eb-8c7fada847da", "text": "x", "createdAt": "2025-03-04T07:00:00Z",
         "thread": null}]})");
    ASSERT_TRUE(pins);
    EXPECT_EQ(pins->pins.front().thread, std::nullopt);
}

TEST(MemoryFile, OneFaultAnywhereRejectsTheWholeDocument) {
    const char* faults[] = {
        // "done" missing, though the record is otherwise sound
        R"({"id": "7c9e6679-7425-40de-944b-e07fc1f90ae7", "text": "x", "createdAt": "2025-03-01T09:30:00Z"})",
        // a fraction of a second
        R"({"id": "7c9e6679-7425-40de-944b-e07fc1f90ae7", "text": "x", "done": false,
            "createdAt": "2025-03-01T09:30:00.500Z"})",
        // not a UUID
        R"({"id": "7c9e6679", "text": "x", "done": false, "createdAt": "2025-03-01T09:30:00Z"})",
        // wrong type
        R"({"id": "7c9e6679-7425-40de-944b-e07fc1f90ae7", "text": "x", "done": "no",
            "createdAt": "2025-03-01T09:30:00Z"})",
        // a required key that is null
        R"({"id": "7c9e6679-7425-40de-944b-e07fc1f90ae7", "text": null, "done": false,
            "createdAt": "2025-03-01T09:30:00Z"})",
    };
    for (const char* fault : faults) {
        QString error;
        EXPECT_FALSE(MemoryData::fromJson(withCommitment(fault), &error)) << fault;
        EXPECT_FALSE(error.isEmpty()) << fault;
    }
    EXPECT_FALSE(MemoryData::fromJson("not json"));
    EXPECT_FALSE(MemoryData::fromJson("[]"));
    EXPECT_FALSE(MemoryData::fromJson(R"({"version": 1, "people": [], "pins": []})"));
}

TEST(MemoryFile, KeepsWholeSecondsOnlyAndAcceptsOffsets) {
    MemoryData data;
    data.pins = {{QUuid::createUuid(), "x", std::nullopt, std::nullopt,
                  utc(2025, 3, 1, 9, 30, 15).addMSecs(750)}};
    const auto read = MemoryData::fromJson(data.toJson());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->pins.front().createdAt, utc(2025, 3, 1, 9, 30, 15));

    const auto offset = MemoryData::fromJson(withCommitment(
        R"({"id": "7c9e6679-7425-40de-944b-e07fc1f90ae7", "text": "x", "done": false,
            "createdAt": "2025-03-01T10:30:00+01:00"})"));
    ASSERT_TRUE(offset);
    EXPECT_EQ(offset->commitments.front().createdAt, utc(2025, 3, 1, 9, 30));
}

TEST(MemoryFile, KeepsAnUnknownVersion) {
    const auto read = MemoryData::fromJson(R"({"version": 7, "people": [], "commitments": [], "pins": []})");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->version, 7);
    EXPECT_TRUE(read->toJson().contains(R"("version" : 7)"));
}

} // namespace
} // namespace lumeno
