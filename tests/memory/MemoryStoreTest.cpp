#include "MemoryTestSupport.h"

#include <QCoroTask>

#include <QSignalSpy>

#include <sys/stat.h>

namespace lumeno {
namespace {

Commitment commitment(const char* text, std::optional<QDateTime> due, bool done, QDateTime created) {
    return {QUuid::createUuid(), text, std::move(due), std::nullopt, done, std::move(created)};
}

QStringList texts(const QList<Commitment>& commitments) {
    QStringList result;
    for (const Commitment& c : commitments)
        result << c.text;
    return result;
}

QStringList texts(const QList<Pin>& pins) {
    QStringList result;
    for (const Pin& p : pins)
        result << p.text;
    return result;
}

QStringList names(const QList<Person>& people) {
    QStringList result;
    for (const Person& p : people)
        result << p.name;
    return result;
}

// --- Loading and saving -------------------------------------------------------------------------------

TEST_F(MemoryStoreTest, AMissingFileStartsEmptySilently) {
    auto store = openStore();
    EXPECT_EQ(store->data(), MemoryData{});
    EXPECT_TRUE(log->entries().empty());
    store->finishDiskWork();
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(MemoryStoreTest, EveryChangeIsOnDiskWithOwnerOnlyPermissions) {
    writeFile(MemoryData{}.toJson());
    ASSERT_TRUE(QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    auto store = openStore();
    const Person anna = store->addPerson("Anna Novak", {"anna@example.com"}, "");
    store->addCommitment("Send the deck", utc(2026, 3, 6, 12), anna.id);
    store->finishDiskWork();

    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    store->finishDiskWork();
    EXPECT_EQ(MemoryStore(path(), clock).data(), store->data());
}

TEST_F(MemoryStoreTest, AnUndecodableFileIsMovedAsideBeforeTheFirstSave) {
    const QByteArray damaged = R"({"version": 1, "people": [], "pins": [], "commitments": [{"text": "x"}]})";
    writeFile(damaged);
    auto store = openStore();
    EXPECT_EQ(store->data(), MemoryData{});
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().front().startsWith("Couldn't read memory: ")) << errors().front().toStdString();
    store->finishDiskWork();
    EXPECT_EQ(fileBytes(), damaged) << "nothing is written before a change";

    store->addPin("Parking on level 2", std::nullopt, std::nullopt);
    store->finishDiskWork();
    const QString aside = path() + ".unreadable-20260304T100000Z";
    QFile moved(aside);
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), damaged);
    store->finishDiskWork();
    EXPECT_EQ(MemoryData::fromJson(fileBytes())->pins.size(), 1);

    // Moved once: later saves simply replace the new file.
    store->addPin("Door code is in the drawer", std::nullopt, std::nullopt);
    store->finishDiskWork();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
}

TEST_F(MemoryStoreTest, AFileThatCannotBeMovedAsideIsNeverOverwritten) {
    // The aside name would exceed the file system's name limit, so the move fails while a write would not.
    const QString longPath = folder.filePath(QString(236, 'm') + ".json");
    {
        QFile file(longPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{ not json");
    }
    MemoryStore store(longPath, clock);
    store.addPin("Parking on level 2", std::nullopt, std::nullopt);

    EXPECT_EQ(store.data().pins.size(), 1) << "the change stays in memory";
    QFile file(longPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "{ not json");
    ASSERT_EQ(errors().size(), 2);
    EXPECT_TRUE(errors().back().startsWith("Couldn't save memory: ")) << errors().back().toStdString();
}

TEST_F(MemoryStoreTest, AFailedSaveIsLoggedAndTheChangeStays) {
    // The folder is replaced by a plain file after loading, so the write cannot create its file.
    const QString subfolder = folder.filePath("sub");
    ASSERT_TRUE(QDir().mkdir(subfolder));
    MemoryStore store(subfolder + "/memory.json", clock);
    ASSERT_TRUE(QDir().rmdir(subfolder));
    QFile blocker(subfolder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));

    store.addCommitment("Send the deck", std::nullopt, std::nullopt);
    EXPECT_EQ(store.data().commitments.size(), 1);
    store.finishDiskWork();
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().front().startsWith("Couldn't save memory: Couldn't write memory.json: "))
        << errors().front().toStdString();
}

TEST_F(MemoryStoreTest, WipeRemovesTheFileAndExportStillGivesAValidDocument) {
    auto store = openStore();
    store->addPerson("Anna", {}, "");
    QSignalSpy changed(store.get(), &MemoryStore::changed);
    QCoro::waitFor(store->wipe());

    EXPECT_EQ(changed.count(), 1);
    store->finishDiskWork();
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_EQ(MemoryData::fromJson(store->exportData()), MemoryData{});
    EXPECT_TRUE(log->contains("Memory wiped"));

    QCoro::waitFor(store->wipe());
    EXPECT_EQ(changed.count(), 1) << "an empty memory wiped again does not change";
    EXPECT_TRUE(errors().isEmpty()) << "a missing file counts as removed";
}

TEST_F(MemoryStoreTest, AWipeThatCannotRemoveOrReplaceTheFileSaysSoAndKeepsShowingWhatIsStillThere) {
    auto store = openStore();
    store->addPerson("Anna", {}, "");
    store->finishDiskWork();
    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QDir(folder.path()).mkpath("memory.json/inside"));

    const std::optional<QString> failure = QCoro::waitFor(store->wipe());
    ASSERT_TRUE(failure);
    EXPECT_EQ(*failure, "Couldn't remove memory.json: Is a directory");
    EXPECT_FALSE(log->contains("Memory wiped"));
    ASSERT_EQ(errors().size(), 1);
    EXPECT_EQ(errors().front(), "Couldn't wipe memory: " + *failure);
    EXPECT_EQ(names(store->people()), QStringList{"Anna"});
}

// Memory is empty from the moment the user confirms; a promise saved before the file is gone is a change
// to that empty memory, and never writes back what was wiped.
TEST_F(MemoryStoreTest, AChangeSavedWhileAWipeIsUnderWayKeepsItselfAndNothingWiped) {
    auto store = openStore();
    store->addPerson("Anna", {}, "");
    store->finishDiskWork();
    QSignalSpy changed(store.get(), &MemoryStore::changed);
    QCoro::Task<std::optional<QString>> wiping = store->wipe();
    EXPECT_EQ(changed.count(), 1) << "emptied when asked";
    store->addPin("Parking is on level 2", std::nullopt, std::nullopt);

    EXPECT_EQ(QCoro::waitFor(wiping), std::nullopt);
    store->finishDiskWork();
    EXPECT_TRUE(store->people().isEmpty());
    EXPECT_EQ(texts(store->pins()), QStringList{"Parking is on level 2"});
    const MemoryData onDisk = MemoryStore(path(), clock).data();
    EXPECT_TRUE(onDisk.people.isEmpty()) << "the wiped person came back";
    EXPECT_EQ(onDisk, store->data());
}

// A wipe that fails shows again what is still on disk, unless memory changed meanwhile: that change is what
// the user saw last, and its save goes over the file.
TEST_F(MemoryStoreTest, AWipeThatFailsAfterAChangeMeanwhileKeepsShowingThatChange) {
    auto store = openStore();
    store->addPerson("Anna", {}, "");
    store->finishDiskWork();
    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QDir(folder.path()).mkpath("memory.json/inside"));
    QCoro::Task<std::optional<QString>> wiping = store->wipe();
    store->addPin("Parking is on level 2", std::nullopt, std::nullopt);

    EXPECT_TRUE(QCoro::waitFor(wiping));
    EXPECT_TRUE(store->people().isEmpty());
    EXPECT_EQ(texts(store->pins()), QStringList{"Parking is on level 2"});
}

TEST_F(MemoryStoreTest, WipeAlsoRemovesTheCopiesKeptOfAnUnreadableFile) {
    writeFile("{ not json");
    auto store = openStore();
    const Person anna = store->addPerson("Anna", {}, "");
    store->addCommitment("Send the deck", std::nullopt, anna.id);
    store->finishDiskWork();
    ASSERT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2) << "memory.json and the copy aside";

    EXPECT_EQ(QCoro::waitFor(store->wipe()), std::nullopt);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_TRUE(log->contains("Memory wiped"));
}

TEST_F(MemoryStoreTest, AnUnreadableFileRemovedWhileRunningNeedsNoMovingAsideAndLaterChangesAreSaved) {
    writeFile("{ not json");
    auto store = openStore();
    store->finishDiskWork();
    ASSERT_TRUE(QFile::remove(path()));

    const Person anna = store->addPerson("Anna", {}, "");
    store->addCommitment("Send the deck", std::nullopt, anna.id);
    store->finishDiskWork();
    const MemoryData reread = MemoryStore(path(), clock).data();
    EXPECT_EQ(names(reread.people), QStringList{"Anna"});
    EXPECT_EQ(reread.commitments.size(), 1);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"memory.json"});
    EXPECT_EQ(errors().size(), 1) << "only the read at start: " << errors().join(" | ").toStdString();
}

// --- Observers --------------------------------------------------------------------------------------

TEST_F(MemoryStoreTest, ObserversHearOncePerChangeAndNeverForNoChange) {
    auto store = openStore();
    QSignalSpy changed(store.get(), &MemoryStore::changed);
    const Person anna = store->addPerson("Anna", {"anna@example.com"}, "");
    EXPECT_EQ(changed.count(), 1);

    const Person bob = store->addPerson("Bob", {}, "notes");
    store->addPin("Likes tea", bob.id, std::nullopt);
    changed.clear();
    store->merge(bob.id, anna.id);
    EXPECT_EQ(changed.count(), 1) << "a merge is one change";

    changed.clear();
    store->addAlias("ANNA@example.com", anna.id);
    store->setData(store->data());
    store->deleteCommitment(QUuid::createUuid());
    EXPECT_EQ(changed.count(), 0);
}

// --- Cleaning ---------------------------------------------------------------------------------------

TEST_F(MemoryStoreTest, StoredTextsAreTrimmedAndRedacted) {
    auto store = openStore();
    const Person person = store->addPerson("  Anna password: hunter2  ", {" anna@example.com ", "token: abc123xyz"},
                                           "\n password: hunter2 \n");
    EXPECT_EQ(person.name, "Anna password: [redacted]");
    EXPECT_EQ(person.aliases, QStringList({"anna@example.com", "token: [redacted]"}));
    EXPECT_EQ(person.notes, "password: [redacted]");

    store->addCommitment(" send password: hunter2 ", std::nullopt, std::nullopt);
    EXPECT_EQ(store->data().commitments.front().text, "send password: [redacted]");

    const Pin pin = store->addPin("password: hunter2", std::nullopt, QString("password: hunter2"));
    EXPECT_EQ(pin.text, "password: [redacted]");
    EXPECT_EQ(pin.thread, QString("password: [redacted]"));
    store->finishDiskWork();
    EXPECT_FALSE(fileBytes().contains("hunter2"));

    // Blank texts become empty, blank threads none.
    Pin blank = store->addPin(" \t ", std::nullopt, QString(" \n "));
    EXPECT_EQ(blank.text, "");
    EXPECT_EQ(blank.thread, std::nullopt);
    blank.thread = QString("  Weekly sync ");
    store->updatePin(blank);
    EXPECT_EQ(store->data().pins.back().thread, QString("Weekly sync"));
}

// Every edit cleans the whole record again: what an earlier edit already redacted stays as it is.
TEST_F(MemoryStoreTest, RedactedTextsStayTheSameThroughLaterEdits) {
    auto store = openStore();
    Person anna = store->addPerson("Anna", {}, "access_token=abc123&x=1");
    store->addCommitment("send access_token=abc123&x=1", std::nullopt, std::nullopt);
    for (const char* name : {"Anna N.", "Anna Novak", "Anna"}) {
        anna = *store->person(anna.id);
        anna.name = name;
        store->updatePerson(anna);
        Commitment commitment = store->data().commitments.front();
        commitment.done = !commitment.done;
        store->updateCommitment(commitment);
    }
    EXPECT_EQ(store->person(anna.id)->notes.toStdString(), "access_token=[redacted]&x=1");
    EXPECT_EQ(store->data().commitments.front().text.toStdString(), "send access_token=[redacted]&x=1");
}

TEST_F(MemoryStoreTest, AliasesKeepTheFirstOfEachAddressInAnyCase) {
    auto store = openStore();
    const Person anna = store->addPerson("Anna", {"Anna@Example.com", "  ", "anna@example.com", "@anna"}, "");
    EXPECT_EQ(anna.aliases, QStringList({"Anna@Example.com", "@anna"}));

    QSignalSpy changed(store.get(), &MemoryStore::changed);
    store->addAlias("ANNA@EXAMPLE.COM", anna.id);
    EXPECT_EQ(changed.count(), 0);
    store->addAlias("  anna.novak@work.example  ", anna.id);
    EXPECT_EQ(store->person(anna.id)->aliases, QStringList({"Anna@Example.com", "@anna", "anna.novak@work.example"}));
}

// --- Updates ----------------------------------------------------------------------------------------

TEST_F(MemoryStoreTest, UpdatingAPersonStampsOnlyRealChanges) {
    auto store = openStore();
    const Person anna = store->addPerson("Anna", {}, "");
    clock.advance(60);

    Person blankOnly = anna;
    blankOnly.name += "  ";
    store->finishDiskWork();
    ASSERT_TRUE(QFile::remove(path()));
    QSignalSpy changed(store.get(), &MemoryStore::changed);
    store->updatePerson(blankOnly);
    EXPECT_EQ(store->person(anna.id)->updatedAt, anna.updatedAt);
    EXPECT_EQ(changed.count(), 0);
    store->finishDiskWork();
    EXPECT_FALSE(QFile::exists(path())) << "a change that cleaning undoes is not written";

    Person renamed = anna;
    renamed.name = "Anna Novak";
    store->updatePerson(renamed);
    EXPECT_EQ(store->person(anna.id)->name, "Anna Novak");
    EXPECT_EQ(store->person(anna.id)->updatedAt, clock.now());

    Person stranger = renamed;
    stranger.id = QUuid::createUuid();
    store->updatePerson(stranger);
    EXPECT_EQ(store->data().people.size(), 1);
}

TEST_F(MemoryStoreTest, CommitmentsAndPinsChangeInPlace) {
    auto store = openStore();
    store->addCommitment("Send the deck", std::nullopt, std::nullopt);
    Commitment edited = store->data().commitments.front();
    edited.text = " Send the final deck ";
    edited.due = utc(2026, 3, 6, 12);
    store->updateCommitment(edited);
    EXPECT_EQ(store->data().commitments.front().text, "Send the final deck");
    EXPECT_EQ(store->data().commitments.front().due, utc(2026, 3, 6, 12));

    store->setDone(edited.id, true);
    EXPECT_TRUE(store->data().commitments.front().done);
    store->deleteCommitment(edited.id);
    EXPECT_TRUE(store->data().commitments.isEmpty());
    store->finishDiskWork();
    EXPECT_TRUE(MemoryData::fromJson(fileBytes())->commitments.isEmpty());
}

TEST_F(MemoryStoreTest, DeletingAPersonLeavesTheirRecordsWithNobody) {
    auto store = openStore();
    const Person anna = store->addPerson("Anna", {}, "");
    store->addCommitment("Send the deck", std::nullopt, anna.id);
    store->addPin("Likes tea", anna.id, std::nullopt);
    store->deletePerson(anna.id);

    EXPECT_TRUE(store->data().people.isEmpty());
    EXPECT_EQ(store->data().commitments.front().personID, std::nullopt);
    EXPECT_EQ(store->data().pins.front().personID, std::nullopt);
}

// --- Merge ------------------------------------------------------------------------------------------

TEST_F(MemoryStoreTest, MergeMovesNameAliasesNotesAndRecords) {
    auto store = openStore();
    const Person target = store->addPerson("Anna Novak", {"anna@example.com"}, "");
    const Person source = store->addPerson("Ana", {"ANNA@example.com", "@ana"}, "Met in Ljubljana");
    store->addCommitment("Send the deck", std::nullopt, source.id);
    store->addPin("Likes tea", source.id, std::nullopt);
    clock.advance(60);
    store->merge(source.id, target.id);

    ASSERT_EQ(store->data().people.size(), 1);
    const Person merged = store->data().people.front();
    EXPECT_EQ(merged.id, target.id);
    EXPECT_EQ(merged.aliases, QStringList({"anna@example.com", "Ana", "@ana"}));
    EXPECT_EQ(merged.notes, "Met in Ljubljana");
    EXPECT_EQ(merged.updatedAt, clock.now());
    EXPECT_EQ(store->commitments(target.id).size(), 1);
    EXPECT_EQ(store->pins(target.id).size(), 1);
}

TEST_F(MemoryStoreTest, MergeJoinsNotesAndIgnoresItselfOrStrangers) {
    auto store = openStore();
    const Person target = store->addPerson("Anna", {}, "Prefers mornings");
    const Person source = store->addPerson("Ana", {}, "Met in Ljubljana");
    QSignalSpy changed(store.get(), &MemoryStore::changed);
    store->merge(target.id, target.id);
    store->merge(QUuid::createUuid(), target.id);
    EXPECT_EQ(changed.count(), 0);

    store->merge(source.id, target.id);
    EXPECT_EQ(store->person(target.id)->notes, "Prefers mornings\nMet in Ljubljana");
}

// --- Display order and due count --------------------------------------------------------------------

TEST_F(MemoryStoreTest, DisplayOrderIsStableAndFollowsTheRules) {
    auto store = openStore();
    const QDateTime created = utc(2026, 3, 1);
    MemoryData data;
    data.commitments = {
        commitment("done yesterday", utc(2026, 3, 3, 12), true, created),
        commitment("undated", std::nullopt, false, created),
        commitment("next week older", utc(2026, 3, 11, 12), false, created),
        commitment("next week newer", utc(2026, 3, 11, 12), false, created.addDays(1)),
        commitment("next week twin", utc(2026, 3, 11, 12), false, created),
        commitment("tomorrow", utc(2026, 3, 5, 12), false, created),
    };
    data.people = {{QUuid::createUuid(), "émile", {}, {}, created, created},
                   {QUuid::createUuid(), "Zoë", {}, {}, created, created},
                   {QUuid::createUuid(), "anna", {}, {}, created, created},
                   {QUuid::createUuid(), "Emile", {}, {}, created, created}};
    const QUuid anna = data.people[2].id;
    data.pins = {{QUuid::createUuid(), "old", anna, std::nullopt, created},
                 {QUuid::createUuid(), "new", anna, std::nullopt, created.addDays(2)},
                 {QUuid::createUuid(), "other", std::nullopt, std::nullopt, created.addDays(3)}};
    store->setData(data);

    EXPECT_EQ(texts(store->commitments()), QStringList({"tomorrow", "next week newer", "next week older",
                                                        "next week twin", "undated", "done yesterday"}));
    EXPECT_EQ(names(store->people()), QStringList({"anna", "Emile", "émile", "Zoë"}));
    EXPECT_EQ(texts(store->pins(anna)), QStringList({"new", "old"}));
}

TEST_F(MemoryStoreTest, DueCountEndsADayAfterTheDayStarted) {
    // The day is the user's own: times on the machine's clock, whatever its zone.
    const auto local = [](int day, int hour, int minute = 0, int second = 0) {
        return QDateTime(QDate(2026, 3, day), QTime(hour, minute, second)).toUTC();
    };
    clock.set(local(4, 10));
    auto store = openStore();
    MemoryData data;
    data.commitments = {
        commitment("late tonight", local(4, 23, 59, 59), false, {}),
        commitment("tomorrow midnight", local(5, 0), false, {}),
        commitment("last week", local(4, 0).addDays(-7), false, {}),
        commitment("done", local(4, 9), true, {}),
        commitment("undated", std::nullopt, false, {}),
    };
    store->setData(data);
    EXPECT_EQ(store->dueCount(), 2);
}

TEST_F(MemoryStoreTest, DueCountOnTheDayTheClocksGoForwardRunsPastMidnight) {
    const ScopedTimeZone ljubljana("Europe/Ljubljana");
    clock.set(utc(2026, 3, 29, 8)); // 10:00 local; that day lasts 23 hours
    auto store = openStore();
    MemoryData data;
    data.commitments = {
        commitment("00:30 the next day", utc(2026, 3, 29, 22, 30), false, {}),
        commitment("01:00 the next day", utc(2026, 3, 29, 23), false, {}),
    };
    store->setData(data);
    EXPECT_EQ(store->dueCount(), 1);
}

} // namespace
} // namespace lumeno
