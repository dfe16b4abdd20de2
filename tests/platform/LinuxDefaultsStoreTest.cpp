#include "platform/linux/LinuxDefaultsStore.h"

#include "support/Clock.h"
#include "support/Log.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace lumeno {
namespace {

class LinuxDefaultsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        previousSink = Log::setSink(log);
    }
    void TearDown() override {
        Log::setSink(previousSink);
        qunsetenv("XDG_CONFIG_HOME");
    }

    QString path() const { return home.filePath("Lumeno/defaults.json"); }
    static void writeFile(const QString& path, const QByteArray& contents) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static int mode(const QString& path) {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
    }

    QTemporaryDir home;
    ManualClock clock{QDateTime(QDate(2026, 3, 2), QTime(9, 30, 5), Qt::UTC)};
    std::shared_ptr<CapturingLogSink> log = std::make_shared<CapturingLogSink>();
    std::shared_ptr<LogSink> previousSink;
};

TEST_F(LinuxDefaultsStoreTest, ValuesKeepTheirTypesAcrossARestart) {
    {
        LinuxDefaultsStore store(path(), clock);
        store.set("flag", true);
        store.set("count", 3);
        store.set("text", "Right ⌥ / Slovenščina");
        store.set("object", QJsonObject{{"modifier", "fn"}});
        store.set("list", QJsonArray{1, "two"});
        store.set("gone", "soon");
        store.remove("gone");
    }
    const LinuxDefaultsStore store(path(), clock);
    EXPECT_EQ(store.get("flag"), QJsonValue(true));
    EXPECT_EQ(store.get("count"), QJsonValue(3));
    EXPECT_EQ(store.get("text"), QJsonValue("Right ⌥ / Slovenščina"));
    EXPECT_EQ(store.get("object"), QJsonValue(QJsonObject{{"modifier", "fn"}}));
    EXPECT_EQ(store.get("list"), QJsonValue(QJsonArray{1, "two"}));
    EXPECT_FALSE(store.contains("gone"));
    EXPECT_EQ(store.get("never"), std::nullopt);
}

TEST_F(LinuxDefaultsStoreTest, TheFileIsOwnerOnlySortedAndPrettyPrinted) {
    LinuxDefaultsStore store(path(), clock);
    store.set("paused", true);
    store.set("hotkey", QJsonObject{{"modifier", "rightOption"}});
    store.finishDiskWork();
    EXPECT_EQ(readFile(path()), "{\n"
                                "  \"hotkey\" : {\n"
                                "    \"modifier\" : \"rightOption\"\n"
                                "  },\n"
                                "  \"paused\" : true\n"
                                "}");
    store.finishDiskWork();
    EXPECT_EQ(mode(path()), 0600);
    store.finishDiskWork();
    EXPECT_EQ(mode(QFileInfo(path()).path()), 0700);
}

TEST_F(LinuxDefaultsStoreTest, SavingLeavesTheRightsTheUserGaveAnExistingFolder) {
    const QString folder = QFileInfo(path()).path();
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0750), 0);
    LinuxDefaultsStore store(path(), clock);
    store.set("paused", true);
    store.set("paused", false);
    store.finishDiskWork();
    EXPECT_EQ(mode(folder), 0750);
    store.finishDiskWork();
    EXPECT_EQ(mode(path()), 0600);
}

TEST_F(LinuxDefaultsStoreTest, ReadingAloneNeverCreatesTheFile) {
    const LinuxDefaultsStore store(path(), clock);
    EXPECT_FALSE(store.contains("paused"));
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(LinuxDefaultsStoreTest, AnUnreadableFileIsMovedAsideBeforeTheFirstWrite) {
    const QByteArray damaged = "{\"paused\": tru";
    const QString list = home.filePath("Other/defaults.json"); // JSON that is not an object is unreadable too
    writeFile(list, "[true]");
    LinuxDefaultsStore(list, clock).set("paused", true);
    EXPECT_EQ(readFile(list + ".unreadable-20260302T093005Z"), "[true]");
    log->clear();

    writeFile(path(), damaged);
    LinuxDefaultsStore store(path(), clock);
    EXPECT_FALSE(store.contains("paused"));
    ASSERT_EQ(log->entries().size(), 1u);
    EXPECT_EQ(log->entries().front().level, LogLevel::error);
    store.finishDiskWork();
    EXPECT_EQ(readFile(path()), damaged) << "nothing is touched until something must be written";

    store.set("paused", false);
    const QString aside = path() + ".unreadable-20260302T093005Z";
    EXPECT_EQ(readFile(aside), damaged);
    store.finishDiskWork();
    EXPECT_EQ(mode(aside), 0600);
    store.finishDiskWork();
    EXPECT_EQ(LinuxDefaultsStore(path(), clock).get("paused"), QJsonValue(false));

    store.set("paused", true); // later writes go straight to the file
    store.finishDiskWork();
    EXPECT_EQ(QDir(QFileInfo(path()).path()).entryList(QDir::Files).size(), 2);
}

TEST_F(LinuxDefaultsStoreTest, AWriteThatFailsIsLoggedAndKeptForThisRun) {
    writeFile(home.filePath("Lumeno"), "a file where the folder belongs");
    LinuxDefaultsStore store(path(), clock);
    store.set("paused", true);
    EXPECT_EQ(store.get("paused"), QJsonValue(true));
    ASSERT_FALSE(log->entries().empty());
    EXPECT_EQ(log->entries().back().level, LogLevel::error);
    EXPECT_TRUE(log->entries().back().line.startsWith("Couldn't save settings: "));
}

TEST_F(LinuxDefaultsStoreTest, AnotherProgramsSettingsAreReadFromItsOwnFolder) {
    writeFile(home.filePath("Vestrel/defaults.json"), R"({"paused": true})");
    writeFile(home.filePath("Broken/defaults.json"), "not json");
    const LinuxDefaultsStore store(path(), clock);
    EXPECT_EQ(store.persistentDomain("Vestrel"), (QJsonObject{{"paused", true}}));
    EXPECT_EQ(store.persistentDomain("Broken"), std::nullopt);
    EXPECT_EQ(store.persistentDomain("Missing"), std::nullopt);
    EXPECT_EQ(readFile(home.filePath("Broken/defaults.json")), "not json");
}

} // namespace
} // namespace lumeno
