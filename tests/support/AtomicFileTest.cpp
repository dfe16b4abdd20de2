#include "support/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumeno {
namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return folder.filePath(name); }

    static mode_t modeOf(const QString& file) {
        struct stat info {};
        EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0) << file.toStdString();
        return info.st_mode & 07777;
    }

    static QByteArray contentsOf(const QString& file) {
        QFile reader(file);
        EXPECT_TRUE(reader.open(QIODevice::ReadOnly)) << file.toStdString();
        return reader.readAll();
    }

    static void plant(const QString& file, const QByteArray& data, mode_t mode) {
        QFile writer(file);
        ASSERT_TRUE(writer.open(QIODevice::WriteOnly));
        writer.write(data);
        writer.close();
        ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), mode), 0);
    }

    QStringList entries() const {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir folder;
};

// ---- Writing

TEST_F(AtomicFileTest, WritesWholeContentsOwnerOnlyWhateverTheUmask) {
    const mode_t previous = ::umask(0);
    const QByteArray data = QByteArray("binary\0with nul\n", 16) + QByteArray(200000, 'x');
    const auto error = AtomicFile::write(path("memory.json"), data);
    ::umask(previous);
    ASSERT_FALSE(error) << error->toStdString();
    EXPECT_EQ(contentsOf(path("memory.json")), data);
    EXPECT_EQ(modeOf(path("memory.json")), 0600u);
    EXPECT_EQ(entries(), QStringList{"memory.json"});
}

TEST_F(AtomicFileTest, AFileForTheUserToHandOnTakesTheModeTheirUmaskGives) {
    for (const auto& [umask, expected] : {std::pair{mode_t(022), 0644u}, std::pair{mode_t(027), 0640u},
                                          std::pair{mode_t(077), 0600u}}) {
        plant(path("Lumeno Memory.json"), "older export", 0600);
        const mode_t previous = ::umask(umask);
        const auto error = AtomicFile::write(path("Lumeno Memory.json"), "{}", AtomicFile::Access::byUmask);
        ::umask(previous);
        ASSERT_FALSE(error) << error->toStdString();
        EXPECT_EQ(contentsOf(path("Lumeno Memory.json")), "{}");
        EXPECT_EQ(modeOf(path("Lumeno Memory.json")), expected) << "umask " << std::oct << umask;
        EXPECT_EQ(entries(), QStringList{"Lumeno Memory.json"});
    }
}

TEST_F(AtomicFileTest, ReplacingAnOpenFileLeavesOldReadersWithTheOldContents) {
    plant(path("style.json"), "old", 0644);
    QFile oldReader(path("style.json"));
    ASSERT_TRUE(oldReader.open(QIODevice::ReadOnly));

    ASSERT_FALSE(AtomicFile::write(path("style.json"), "new and longer"));
    EXPECT_EQ(oldReader.readAll(), "old"); // renamed over, never rewritten in place
    EXPECT_EQ(contentsOf(path("style.json")), "new and longer");
    EXPECT_EQ(modeOf(path("style.json")), 0600u); // a wider mode is not inherited
    EXPECT_EQ(entries(), QStringList{"style.json"});
}

TEST_F(AtomicFileTest, FailureMidWriteKeepsTheOldFileAndLeavesNoTemporary) {
    plant(path("memory.json"), "the user's memory", 0600);
    // A file size limit makes the write itself fail part way, even for root.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 8;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto error = AtomicFile::write(path("memory.json"), QByteArray(4096, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Couldn't write memory.json: File too large");
    EXPECT_EQ(contentsOf(path("memory.json")), "the user's memory");
    EXPECT_EQ(entries(), QStringList{"memory.json"});
}

TEST_F(AtomicFileTest, FailureToRenameLeavesNoTemporary) {
    ASSERT_TRUE(QDir(folder.path()).mkpath("session.json/inside"));
    const auto error = AtomicFile::write(path("session.json"), "{}");
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->startsWith("Couldn't write session.json: ")) << error->toStdString();
    EXPECT_EQ(entries(), QStringList{"session.json"});
    EXPECT_TRUE(QFileInfo(path("session.json/inside")).isDir());
}

TEST_F(AtomicFileTest, MissingFolderIsReportedNotCreated) {
    const auto error = AtomicFile::write(path("absent/memory.json"), "{}");
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Couldn't write memory.json: No such file or directory");
    EXPECT_FALSE(QFileInfo::exists(path("absent")));
}

TEST_F(AtomicFileTest, ReadOnlyFolderFailsWithAMessageAndKeepsTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    plant(path("memory.json"), "kept", 0600);
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0500), 0);
    const auto error = AtomicFile::write(path("memory.json"), "lost?");
    ::chmod(QFile::encodeName(folder.path()).constData(), 0700);
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Couldn't write memory.json: Permission denied");
    EXPECT_EQ(contentsOf(path("memory.json")), "kept");
    EXPECT_EQ(entries(), QStringList{"memory.json"});
}

// ---- Reading

TEST_F(AtomicFileTest, ReadTellsMissingFromUnreadable) {
    EXPECT_TRUE(std::holds_alternative<AtomicFile::Missing>(AtomicFile::read(path("memory.json"))));
    EXPECT_TRUE(std::holds_alternative<AtomicFile::Missing>(AtomicFile::read(path("no-folder/memory.json"))));

    ASSERT_TRUE(QDir(folder.path()).mkdir("memory.json"));
    const auto directory = AtomicFile::read(path("memory.json"));
    ASSERT_TRUE(std::holds_alternative<AtomicFile::Unreadable>(directory));
    EXPECT_EQ(std::get<AtomicFile::Unreadable>(directory).message,
              "Couldn't read memory.json: Is a directory");
}

TEST_F(AtomicFileTest, ReadingAPipeInAFilesPlaceDoesNotHang) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("session.json")).constData(), 0600), 0);
    const auto result = AtomicFile::read(path("session.json"));
    ASSERT_TRUE(std::holds_alternative<AtomicFile::Unreadable>(result));
    EXPECT_EQ(std::get<AtomicFile::Unreadable>(result).message,
              "Couldn't read session.json: Not a regular file");
}

TEST_F(AtomicFileTest, FileWithoutReadPermissionIsUnreadable) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads mode 000 files";
    plant(path("style.json"), "{}", 0000);
    const auto result = AtomicFile::read(path("style.json"));
    ASSERT_TRUE(std::holds_alternative<AtomicFile::Unreadable>(result));
    EXPECT_EQ(std::get<AtomicFile::Unreadable>(result).message,
              "Couldn't read style.json: Permission denied");
}

TEST_F(AtomicFileTest, ReadReturnsExactlyWhatWasWritten) {
    const QByteArray data = QByteArray("\xef\xbb\xbf{\0}", 6) + QByteArray(300000, '\n');
    ASSERT_FALSE(AtomicFile::write(path("draft-details.jsonl"), data));
    const auto result = AtomicFile::read(path("draft-details.jsonl"));
    ASSERT_TRUE(std::holds_alternative<QByteArray>(result));
    EXPECT_EQ(std::get<QByteArray>(result), data);

    ASSERT_FALSE(AtomicFile::write(path("empty.json"), QByteArray()));
    const auto empty = AtomicFile::read(path("empty.json"));
    ASSERT_TRUE(std::holds_alternative<QByteArray>(empty));
    EXPECT_TRUE(std::get<QByteArray>(empty).isEmpty());
}

// ---- Moving aside

TEST_F(AtomicFileTest, MoveAsideUsesTheUtcStampAndNeverOverwrites) {
    // 10:00:05 at +01:00 is 09:00:05 UTC.
    const QDateTime now(QDate(2026, 3, 2), QTime(10, 0, 5), QTimeZone(3600));
    const QString stamped = path("memory.json.unreadable-20260302T090005Z");
    for (const QByteArray& version : {QByteArray("first"), QByteArray("second"), QByteArray("third")}) {
        plant(path("memory.json"), version, 0644);
        const auto moved = AtomicFile::moveAside(path("memory.json"), now);
        ASSERT_TRUE(std::holds_alternative<QString>(moved));
    }
    EXPECT_EQ(contentsOf(stamped), "first");
    EXPECT_EQ(contentsOf(stamped + "-2"), "second");
    EXPECT_EQ(contentsOf(stamped + "-3"), "third");
    EXPECT_EQ(modeOf(stamped + "-3"), 0600u);
    EXPECT_FALSE(QFileInfo::exists(path("memory.json")));
    EXPECT_EQ(entries().size(), 3);
}

TEST_F(AtomicFileTest, MoveAsideReturnsTheNewPathOrTheReason) {
    plant(path("style.json"), "garbled", 0600);
    const QDateTime now(QDate(2026, 12, 31), QTime(23, 59, 59, 900), Qt::UTC);
    const auto moved = AtomicFile::moveAside(path("style.json"), now);
    ASSERT_TRUE(std::holds_alternative<QString>(moved));
    EXPECT_EQ(std::get<QString>(moved), path("style.json.unreadable-20261231T235959Z"));
    EXPECT_EQ(contentsOf(std::get<QString>(moved)), "garbled");

    // Gone already: nothing left to keep, which is no failure.
    EXPECT_TRUE(std::holds_alternative<AtomicFile::Missing>(AtomicFile::moveAside(path("style.json"), now)));

    plant(path("style.json"), "garbled again", 0600);
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0500), 0);
    const auto refused = AtomicFile::moveAside(path("style.json"), now);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0700);
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may rename in a read-only folder";
    ASSERT_TRUE(std::holds_alternative<AtomicFile::Unreadable>(refused));
    EXPECT_EQ(std::get<AtomicFile::Unreadable>(refused).message, "Couldn't move style.json aside: Permission denied");
}

// ---- Removing and folders

TEST_F(AtomicFileTest, RemoveCountsAnAbsentFileAsRemoved) {
    plant(path("session.json"), "{}", 0600);
    EXPECT_FALSE(AtomicFile::remove(path("session.json")));
    EXPECT_FALSE(QFileInfo::exists(path("session.json")));
    EXPECT_FALSE(AtomicFile::remove(path("session.json")));

    ASSERT_TRUE(QDir(folder.path()).mkdir("folder"));
    const auto error = AtomicFile::remove(path("folder"));
    ASSERT_TRUE(error);
    EXPECT_EQ(*error, "Couldn't remove folder: Is a directory");
}

TEST_F(AtomicFileTest, MakeDirectoryCreatesOwnerOnlyFoldersAndLeavesExistingOnesAsTheyAre) {
    const QString nested = path("a/b/Lumeno");
    EXPECT_FALSE(AtomicFile::makeDirectory(nested));
    EXPECT_TRUE(QFileInfo(nested).isDir());
    EXPECT_EQ(modeOf(path("a")), 0700u);
    EXPECT_EQ(modeOf(nested), 0700u);

    // A folder the user made read-only stays read-only: making sure it exists never opens it again.
    ASSERT_EQ(::chmod(QFile::encodeName(nested).constData(), 0500), 0);
    EXPECT_FALSE(AtomicFile::makeDirectory(nested + "/"));
    EXPECT_EQ(modeOf(nested), 0500u);
    ::chmod(QFile::encodeName(nested).constData(), 0700);
}

TEST_F(AtomicFileTest, RemoveCopiesAsideTakesTheCopiesOfThatFileOnly) {
    const QDateTime now(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
    for (int copy = 0; copy < 2; ++copy) {
        plant(path("memory.json"), "old people", 0600);
        ASSERT_TRUE(std::holds_alternative<QString>(AtomicFile::moveAside(path("memory.json"), now)));
    }
    plant(path("memory.json"), "{}", 0600);
    plant(path("memory.json.tmp"), "not ours to take", 0600);
    plant(path("style.json.unreadable-20260302T090000Z"), "another file's copy", 0600);

    EXPECT_FALSE(AtomicFile::removeCopiesAside(path("memory.json")));
    EXPECT_EQ(entries(), QStringList({"memory.json", "memory.json.tmp", "style.json.unreadable-20260302T090000Z"}));
    EXPECT_FALSE(AtomicFile::removeCopiesAside(path("memory.json"))); // nothing left is no failure
}

TEST_F(AtomicFileTest, MakeDirectoryReportsAFileInTheWay) {
    plant(path("blocker"), "x", 0600);
    for (const QString& target : {path("blocker"), path("blocker/inside")}) {
        const auto error = AtomicFile::makeDirectory(target);
        ASSERT_TRUE(error) << target.toStdString();
        EXPECT_EQ(*error, QStringLiteral("Couldn't create the folder %1: Not a directory").arg(target));
    }
    EXPECT_EQ(modeOf(path("blocker")), 0600u);
}

} // namespace
} // namespace lumeno
