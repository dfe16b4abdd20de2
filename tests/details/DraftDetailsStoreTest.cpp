#include "DetailsTestSupport.h"

#include "details/DraftDetailsLine.h"
#include "details/DraftDetailsStore.h"
#include "support/Log.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace lumeno {
namespace {

using testing::bareRecord;
using testing::utc;

class DraftDetailsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { previousSink = Log::setSink(log); }
    void TearDown() override { Log::setSink(previousSink); }

    QString path() const { return folder.filePath("draft-details.jsonl"); }

    void writeFile(const QByteArray& content) {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QByteArray fileContent() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QList<QByteArray> fileLines() const {
        QList<QByteArray> lines = fileContent().split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    static QByteArray line(const DraftDetails& details) { return DraftDetailsLine::encode(details).value(); }

    static DraftDetails recordAt(QDateTime date, const char* outcome = nullptr) {
        DraftDetails details = bareRecord(DraftDetails::Kind::reply, std::move(date));
        if (outcome)
            details.outcome = QString::fromUtf8(outcome);
        return details;
    }

    static QStringList outcomes(const QList<DraftDetails>& sessions) {
        QStringList result;
        for (const DraftDetails& details : sessions)
            result << details.outcome.value_or("-");
        return result;
    }

    QStringList unreadableCopies() const {
        return QDir(folder.path()).entryList({"draft-details.jsonl.unreadable-*"}, QDir::Files);
    }

    QTemporaryDir folder;
    ManualClock clock{utc(2026, 3, 2, 9, 0)};
    std::shared_ptr<CapturingLogSink> log = std::make_shared<CapturingLogSink>();
    std::shared_ptr<LogSink> previousSink;
};

// --- Keeping the latest records in memory ---------------------------------------------------------------

TEST_F(DraftDetailsStoreTest, RecordKeepsTheFiveNewestOnePerIdAndNotifiesOnlyOnChange) {
    DraftDetailsStore store(path(), clock);
    QSignalSpy changes(&store, &DraftDetailsStore::sessionsChanged);
    QList<DraftDetails> made;
    for (int i = 0; i < 7; ++i) {
        made << recordAt(utc(2026, 3, 2, 9, i), QByteArray::number(i).constData());
        store.record(made.last(), false);
    }
    EXPECT_EQ(outcomes(store.sessions()), QStringList({"6", "5", "4", "3", "2"}));
    EXPECT_EQ(changes.count(), 7);

    DraftDetails again = made[3];
    again.outcome = "3 again";
    store.record(again, false);
    EXPECT_EQ(outcomes(store.sessions()), QStringList({"3 again", "6", "5", "4", "2"}));

    store.record(again, false); // already at the front, unchanged
    EXPECT_EQ(changes.count(), 8);
    store.setSessions(store.sessions());
    EXPECT_EQ(changes.count(), 8);
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_FALSE(store.hasSavedFile());
}

TEST_F(DraftDetailsStoreTest, UpdateChangesAListedRecordAndIgnoresOneThatLeft) {
    DraftDetailsStore store(path(), clock);
    const DraftDetails first = recordAt(utc(2026, 3, 2, 9, 0), "Waiting: no text field had focus");
    store.record(first, true);
    store.update(first.id, true, [](DraftDetails& d) { d.outcome = "Inserted after you picked the field"; });
    EXPECT_EQ(store.sessions().first().outcome, "Inserted after you picked the field");
    store.finishDiskWork();
    ASSERT_EQ(fileLines().size(), 1);
    EXPECT_EQ(DraftDetailsLine::decode(fileLines().value(0))->outcome, "Inserted after you picked the field");

    for (int i = 1; i <= 5; ++i)
        store.record(recordAt(utc(2026, 3, 2, 9, i)), false);
    const QByteArray before = fileContent();
    QSignalSpy changes(&store, &DraftDetailsStore::sessionsChanged);
    bool called = false;
    store.update(first.id, true, [&called](DraftDetails& d) {
        called = true;
        d.outcome = "Dismissed without inserting";
    });
    EXPECT_FALSE(called);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(fileContent(), before);
}

// --- The file --------------------------------------------------------------------------------------------

TEST_F(DraftDetailsStoreTest, SavingWritesOneOwnerOnlyLinePerIdMostRecentLast) {
    DraftDetailsStore store(path(), clock);
    QSignalSpy fileChanges(&store, &DraftDetailsStore::hasSavedFileChanged);
    const DraftDetails a = recordAt(utc(2026, 3, 2, 9, 0), "A");
    const DraftDetails b = recordAt(utc(2026, 3, 2, 9, 1), "B");
    store.record(a, true);
    store.record(b, true);
    DraftDetails aLater = a;
    aLater.outcome = "A later";
    store.record(aLater, true);
    EXPECT_EQ(store.sessions().size(), 2) << "in memory at once";
    EXPECT_FALSE(store.hasSavedFile()) << "the file is written off the main thread";

    store.finishDiskWork();
    EXPECT_EQ(fileContent(), line(b) + '\n' + line(aLater) + '\n');
    EXPECT_TRUE(store.hasSavedFile());
    EXPECT_EQ(fileChanges.count(), 1);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(DraftDetailsStoreTest, TheFileKeepsTheLastHundredLines) {
    QByteArray content;
    QList<DraftDetails> onDisk;
    for (int i = 0; i < 100; ++i) {
        onDisk << recordAt(utc(2026, 3, 1, 0, 0).addSecs(i * 60));
        content += line(onDisk.last()) + '\n';
    }
    writeFile(content);
    DraftDetailsStore store(path(), clock);

    // Replacing a line already there moves it to the end without dropping another.
    store.record(onDisk[40], true);
    store.finishDiskWork();
    QList<QByteArray> lines = fileLines();
    ASSERT_EQ(lines.size(), 100);
    EXPECT_EQ(lines.first(), line(onDisk[0]));
    EXPECT_EQ(lines.last(), line(onDisk[40]));

    const DraftDetails fresh = recordAt(utc(2026, 3, 2, 9, 0));
    store.record(fresh, true);
    store.finishDiskWork();
    lines = fileLines();
    ASSERT_EQ(lines.size(), 100);
    EXPECT_EQ(lines.first(), line(onDisk[1]));
    EXPECT_EQ(lines.last(), line(fresh));
}

TEST_F(DraftDetailsStoreTest, LoadingSortsNewestFirstSkipsBadLinesAndKeepsThemOnSave) {
    const DraftDetails older = recordAt(utc(2026, 3, 1, 8, 0), "older");
    const DraftDetails sameSecondEarlierLine = recordAt(utc(2026, 3, 2, 8, 0), "earlier line");
    const DraftDetails sameSecondLaterLine = recordAt(utc(2026, 3, 2, 8, 0), "later line");
    const QByteArray malformed = R"({"id":"not-a-uuid","date":"2026-03-02T08:00:00Z","kind":"reply"})";
    writeFile(line(sameSecondEarlierLine) + "\n\n" + malformed + '\n' + line(older) + "\n\n" +
              line(sameSecondLaterLine) + '\n');

    DraftDetailsStore store(path(), clock);
    EXPECT_TRUE(store.hasSavedFile());
    EXPECT_TRUE(store.sessions().isEmpty()); // nothing is read at construction
    store.loadSaved();
    EXPECT_EQ(outcomes(store.sessions()), QStringList({"later line", "earlier line", "older"}));
    EXPECT_TRUE(log->entries().empty());

    const DraftDetails fresh = recordAt(utc(2026, 3, 2, 9, 0), "fresh");
    store.record(fresh, true);
    store.finishDiskWork();
    EXPECT_EQ(fileContent(), line(sameSecondEarlierLine) + '\n' + malformed + '\n' + line(older) + '\n' +
                                 line(sameSecondLaterLine) + '\n' + line(fresh) + '\n');
}

TEST_F(DraftDetailsStoreTest, LoadingKeepsTheFiveNewestAndNeverReplacesRecordsInMemory) {
    QByteArray content;
    for (int i = 0; i < 8; ++i)
        content += line(recordAt(utc(2026, 3, 1, 10 + i, 0), QByteArray::number(i).constData())) + '\n';
    writeFile(content);
    DraftDetailsStore store(path(), clock);
    store.loadSaved();
    EXPECT_EQ(outcomes(store.sessions()), QStringList({"7", "6", "5", "4", "3"}));

    DraftDetailsStore busy(path(), clock);
    busy.record(recordAt(utc(2026, 3, 2, 9, 0), "in memory"), false);
    busy.loadSaved();
    EXPECT_EQ(outcomes(busy.sessions()), QStringList({"in memory"}));
}

TEST_F(DraftDetailsStoreTest, DuplicateIdsEditedByHandLoadBothAndCollapseOnTheNextSave) {
    DraftDetails first = recordAt(utc(2026, 3, 2, 8, 0), "first copy");
    DraftDetails second = first;
    second.outcome = "second copy";
    const DraftDetails other = recordAt(utc(2026, 3, 1, 8, 0), "other");
    writeFile(line(first) + '\n' + line(other) + '\n' + line(second) + '\n');
    DraftDetailsStore store(path(), clock);
    store.loadSaved();
    EXPECT_EQ(outcomes(store.sessions()), QStringList({"second copy", "first copy", "other"}));

    store.update(first.id, true, [](DraftDetails& d) { d.outcome = "Copied instead of inserted"; });
    first.outcome = "Copied instead of inserted";
    store.finishDiskWork();
    EXPECT_EQ(fileContent(), line(other) + '\n' + line(first) + '\n');
}

TEST_F(DraftDetailsStoreTest, AFileThatIsNotUtf8LoadsNothingAndIsMovedAsideOnSave) {
    const QByteArray damaged = "\xff\xfe{\"id\":\n";
    writeFile(damaged);
    DraftDetailsStore store(path(), clock);
    store.loadSaved();
    EXPECT_TRUE(store.sessions().isEmpty());

    const DraftDetails fresh = recordAt(utc(2026, 3, 2, 9, 0));
    store.record(fresh, true);
    store.finishDiskWork();
    EXPECT_EQ(fileContent(), line(fresh) + '\n');
    const QStringList copies = unreadableCopies();
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(copies.first(), "draft-details.jsonl.unreadable-20260302T090000Z");
    QFile kept(folder.filePath(copies.first()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged);

    // Switching saving off deletes what was saved, the copy kept aside included.
    store.deleteSavedFile();
    store.finishDiskWork();
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_TRUE(unreadableCopies().isEmpty());
}

TEST_F(DraftDetailsStoreTest, AFileWeMayNotReadIsKeptAsideRatherThanWrittenOver) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser from reading";
    writeFile(line(recordAt(utc(2026, 3, 1, 8, 0))) + '\n');
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::WriteOwner));
    DraftDetailsStore store(path(), clock);
    const DraftDetails fresh = recordAt(utc(2026, 3, 2, 9, 0));
    store.record(fresh, true);
    store.finishDiskWork();
    EXPECT_EQ(unreadableCopies().size(), 1);
    EXPECT_EQ(fileContent(), line(fresh) + '\n');
}

TEST_F(DraftDetailsStoreTest, AFailedWriteIsLoggedAndLeavesTheFlagAlone) {
    const QString missingFolder = folder.filePath("gone/draft-details.jsonl");
    DraftDetailsStore store(missingFolder, clock);
    QSignalSpy fileChanges(&store, &DraftDetailsStore::hasSavedFileChanged);
    store.record(recordAt(utc(2026, 3, 2, 9, 0)), true);
    store.finishDiskWork();
    EXPECT_FALSE(store.hasSavedFile());
    EXPECT_EQ(fileChanges.count(), 0);
    ASSERT_EQ(log->entries().size(), 1u);
    EXPECT_EQ(log->entries()[0].category, LogCategory::app);
    EXPECT_TRUE(log->entries()[0].line.startsWith("Couldn't save draft details"));
    EXPECT_EQ(store.sessions().size(), 1); // the record is still shown
}

TEST_F(DraftDetailsStoreTest, DeletingTheFileKeepsTheRecordsAndALaterSaveStartsAfresh) {
    DraftDetailsStore store(path(), clock);
    const DraftDetails a = recordAt(utc(2026, 3, 2, 9, 0), "A");
    store.record(a, true);
    store.deleteSavedFile();
    store.finishDiskWork();
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_FALSE(store.hasSavedFile());
    EXPECT_EQ(outcomes(store.sessions()), QStringList({"A"}));
    store.deleteSavedFile(); // nothing there: no complaint
    store.finishDiskWork();
    EXPECT_TRUE(log->entries().empty());

    const DraftDetails b = recordAt(utc(2026, 3, 2, 9, 1), "B");
    store.record(b, true);
    store.finishDiskWork();
    EXPECT_EQ(fileContent(), line(b) + '\n');
    EXPECT_TRUE(store.hasSavedFile());
}

TEST_F(DraftDetailsStoreTest, AnUnwritableRecordLeavesTheFileUntouched) {
    DraftDetailsStore store(path(), clock);
    const DraftDetails a = recordAt(utc(2026, 3, 2, 9, 0), "A");
    store.record(a, true);
    DraftDetails broken = testing::fullRecord();
    broken.result->seconds = std::numeric_limits<double>::quiet_NaN();
    store.record(broken, true);
    store.finishDiskWork();
    EXPECT_EQ(fileContent(), line(a) + '\n');
    EXPECT_EQ(store.sessions().size(), 2);
}

} // namespace
} // namespace lumeno
