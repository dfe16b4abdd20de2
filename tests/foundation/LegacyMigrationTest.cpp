#include "foundation/LegacyMigration.h"

#include "foundation/SettingsKeys.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "support/Log.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace lumeno {
namespace {

class LegacyMigrationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(base.isValid());
        previousSink = Log::setSink(log);
    }
    void TearDown() override { Log::setSink(previousSink); }

    QString oldFile(const QString& name) const { return base.filePath("Vestrel/" + name); }
    QString newFile(const QString& name) const { return base.filePath("Lumeno/" + name); }

    static void writeFile(const QString& path, const QByteArray& contents) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    static int fileMode(const QString& path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
    }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir base;
    FakeDefaultsStore defaults;
    std::shared_ptr<CapturingLogSink> log = std::make_shared<CapturingLogSink>();
    std::shared_ptr<LogSink> previousSink;
};

TEST_F(LegacyMigrationTest, CopiesTheSettingsAndTheFourFilesOwnerOnly) {
    const QJsonObject old{{"paused", true},
                          {"speechLocale", "sl-SI"},
                          {"hotkey", QJsonObject{{"modifier", "fn"}}},
                          {"somethingElse", 3}};
    for (const char* name : {"memory.json", "style.json", "session.json", "draft-details.jsonl"})
        writeFile(oldFile(name), QByteArray("old ") + name);
    writeFile(oldFile("notes.txt"), "not ours to take");

    LegacyMigration::run(defaults, old, base.path());

    EXPECT_EQ(defaults.get("paused"), QJsonValue(true));
    EXPECT_EQ(defaults.get("speechLocale"), QJsonValue("sl-SI"));
    EXPECT_EQ(defaults.get("hotkey"), QJsonValue(QJsonObject{{"modifier", "fn"}}));
    EXPECT_FALSE(defaults.contains("somethingElse"));
    EXPECT_EQ(defaults.get(SettingsKey::migratedFromVestrel), QJsonValue(true));
    for (const char* name : {"memory.json", "style.json", "session.json", "draft-details.jsonl"}) {
        EXPECT_EQ(readFile(newFile(name)), QByteArray("old ") + name);
        EXPECT_EQ(fileMode(newFile(name)), 0600) << name;
        EXPECT_TRUE(QFile::exists(oldFile(name))) << "the former product's copy stays";
    }
    EXPECT_FALSE(QFile::exists(newFile("notes.txt")));
}

TEST_F(LegacyMigrationTest, NeverOverwritesWhatTheUserAlreadyHasHere) {
    defaults.set("paused", false);
    writeFile(oldFile("memory.json"), "old memory");
    writeFile(newFile("memory.json"), "new memory");
    writeFile(oldFile("style.json"), "old style");

    LegacyMigration::run(defaults, QJsonObject{{"paused", true}, {"hasSeenGuide", true}}, base.path());

    EXPECT_EQ(defaults.get("paused"), QJsonValue(false));
    EXPECT_EQ(defaults.get("hasSeenGuide"), QJsonValue(true));
    EXPECT_EQ(readFile(newFile("memory.json")), "new memory");
    EXPECT_EQ(readFile(newFile("style.json")), "old style");
    EXPECT_EQ(defaults.get(SettingsKey::migratedFromVestrel), QJsonValue(true)) << "a file already here is done";
}

TEST_F(LegacyMigrationTest, RunsOnlyOncePerUser) {
    writeFile(oldFile("style.json"), "first");
    LegacyMigration::run(defaults, QJsonObject{{"paused", true}}, base.path());
    ASSERT_EQ(readFile(newFile("style.json")), "first");

    // The user changes things afterwards; a second start must not bring the old state back.
    defaults.remove("paused");
    QFile::remove(newFile("style.json"));
    LegacyMigration::run(defaults, QJsonObject{{"paused", true}}, base.path());
    EXPECT_FALSE(defaults.contains("paused"));
    EXPECT_FALSE(QFile::exists(newFile("style.json")));
}

TEST_F(LegacyMigrationTest, NothingToMigrateStillMarksItDone) {
    LegacyMigration::run(defaults, std::nullopt, base.path());
    EXPECT_EQ(defaults.get(SettingsKey::migratedFromVestrel), QJsonValue(true));
    EXPECT_FALSE(QDir(base.filePath("Lumeno")).exists());
}

TEST_F(LegacyMigrationTest, AFileThatCannotBeCopiedIsTriedAgainAtTheNextStart) {
    writeFile(oldFile("session.json"), "session");
    // Where the folder should be, a file: nothing can be copied into it.
    writeFile(base.filePath("Lumeno"), "in the way");

    LegacyMigration::run(defaults, QJsonObject{{"paused", true}}, base.path());
    EXPECT_FALSE(defaults.contains(SettingsKey::migratedFromVestrel));
    EXPECT_EQ(defaults.get("paused"), QJsonValue(true)); // settings need no second try
    ASSERT_EQ(log->entries().size(), 1u);
    EXPECT_EQ(log->entries().front().level, LogLevel::error);
    EXPECT_TRUE(log->entries().front().line.startsWith("Couldn't migrate session.json: "))
        << log->entries().front().line.toStdString();

    QFile::remove(base.filePath("Lumeno"));
    LegacyMigration::run(defaults, QJsonObject{{"paused", true}}, base.path());
    EXPECT_EQ(readFile(newFile("session.json")), "session");
    EXPECT_EQ(defaults.get(SettingsKey::migratedFromVestrel), QJsonValue(true));
}

} // namespace
} // namespace lumeno
