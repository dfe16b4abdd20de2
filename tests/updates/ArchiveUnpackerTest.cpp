#include "updates/ArchiveUnpacker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumeno {
namespace {

using Kind = ArchiveUnpacker::Failure::Kind;

class ArchiveUnpackerTest : public ::testing::Test {
protected:
    // A gzip'd tar made by Python's tarfile from `entries`, Python tuples of a name, a type, the content
    // or link target and optionally a mode (files and folders 0755 otherwise): what a hostile archive could
    // hold, which the tar command line would not write.
    QByteArray tarOf(const QString& entries) {
        const QString script = QStringLiteral(
            "import io, sys, tarfile\n"
            "out = io.BytesIO()\n"
            "with tarfile.open(fileobj=out, mode='w:gz') as tar:\n"
            "    for name, kind, extra, *mode in [%1]:\n"
            "        info = tarfile.TarInfo(name)\n"
            "        info.type = kind\n"
            "        info.uid = info.gid = 4242\n"
            "        data = b''\n"
            "        if kind == tarfile.REGTYPE:\n"
            "            data = extra.encode(); info.size = len(data); info.mode = 0o755\n"
            "        elif kind in (tarfile.SYMTYPE, tarfile.LNKTYPE):\n"
            "            info.linkname = extra\n"
            "        elif kind == tarfile.DIRTYPE:\n"
            "            info.mode = 0o755\n"
            "        info.mode = mode[0] if mode else info.mode\n"
            "        tar.addfile(info, io.BytesIO(data))\n"
            "sys.stdout.buffer.write(out.getvalue())\n").arg(entries);
        QProcess python;
        python.start("python3", {"-c", script});
        EXPECT_TRUE(python.waitForFinished(20000));
        EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
        return python.readAllStandardOutput();
    }

    // Unpacks `archive` from a real file, read from its start whatever was done with it before.
    std::optional<ArchiveUnpacker::Failure> unpack(const QByteArray& archive) {
        QFile file(temp.filePath("archive.tar.gz"));
        EXPECT_TRUE(file.open(QIODevice::ReadWrite | QIODevice::Truncate));
        file.write(archive);
        file.flush();
        return ArchiveUnpacker::unpack(file.handle(), "lumeno", destination());
    }
    QString destination() const { return temp.filePath("prefix/lib/lumeno.update"); }

    QTemporaryDir temp;
    void SetUp() override { QDir().mkpath(temp.filePath("prefix/lib")); }
};

TEST_F(ArchiveUnpackerTest, UnpacksTheTopFolderWithItsModesAndInnerLinks) {
    const auto failure = unpack(tarOf("('lumeno', tarfile.DIRTYPE, ''), ('lumeno/lumeno', tarfile.REGTYPE, '#!/bin/sh'),"
                                      "('lumeno/share/notes.txt', tarfile.REGTYPE, 'notes'),"
                                      "('lumeno/start', tarfile.SYMTYPE, 'lumeno'),"
                                      "('lumeno/copy', tarfile.LNKTYPE, 'lumeno/lumeno'),"
                                      "('lumeno/share/again', tarfile.SYMTYPE, '../lumeno')"));
    ASSERT_FALSE(failure) << failure->reason.toStdString();
    const QFileInfo program(QDir(destination()).filePath("lumeno"));
    EXPECT_TRUE(program.isExecutable());
    EXPECT_EQ(QFileInfo(QDir(destination()).filePath("start")).symLinkTarget(), program.absoluteFilePath());
    EXPECT_EQ(QFileInfo(QDir(destination()).filePath("copy")).size(), program.size()) << "a hard link inside";
    EXPECT_EQ(program.ownerId(), ::getuid()) << "owned by whoever installs";
    EXPECT_EQ(program.groupId(), ::getgid());
    QFile notes(QDir(destination()).filePath("share/notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
    EXPECT_EQ(notes.readAll(), "notes");
}

TEST_F(ArchiveUnpackerTest, RefusesEntriesThatCouldReachOutsideTheFolder) {
    const std::pair<const char*, Kind> cases[] = {
        {"('lumeno/../../escaped', tarfile.REGTYPE, 'x')", Kind::unsafe},
        {"('/tmp/absolute', tarfile.REGTYPE, 'x')", Kind::unsafe},
        {"('elsewhere/lumeno', tarfile.REGTYPE, 'x')", Kind::unsafe},
        {"('lumeno/out', tarfile.SYMTYPE, '../../../etc')", Kind::unsafe},
        {"('lumeno/abs', tarfile.SYMTYPE, '/etc/passwd')", Kind::unsafe},
        {"('lumeno/hard', tarfile.LNKTYPE, '/etc/passwd')", Kind::unsafe},
        {"('lumeno/hard', tarfile.LNKTYPE, 'lumeno')", Kind::unsafe},
        {"('lumeno/tty', tarfile.CHRTYPE, '')", Kind::unsafe},
        {"('lumeno/pipe', tarfile.FIFOTYPE, '')", Kind::unsafe},
    };
    for (const auto& [entry, kind] : cases) {
        QDir(destination()).removeRecursively();
        const auto failure = unpack(tarOf(QStringLiteral("('lumeno/lumeno', tarfile.REGTYPE, 'ok'), %1").arg(entry)));
        ASSERT_TRUE(failure) << entry;
        EXPECT_EQ(failure->kind, kind) << entry << ": " << failure->reason.toStdString();
    }
    EXPECT_FALSE(QFile::exists(temp.filePath("escaped")));
    EXPECT_FALSE(QFile::exists(temp.filePath("prefix/escaped")));
}

// Links each inside the folder on their own that together lead out of it, in either order.
TEST_F(ArchiveUnpackerTest, RefusesLinksThatLeadOutThroughOtherLinks) {
    const char* cases[] = {
        "('lumeno/p/q/b', tarfile.SYMTYPE, '../..'), ('lumeno/start', tarfile.SYMTYPE, 'p/q/b/../outside')",
        "('lumeno/start', tarfile.SYMTYPE, 'p/q/b/../outside'), ('lumeno/p/q/b', tarfile.SYMTYPE, '../..')",
        "('lumeno/up', tarfile.SYMTYPE, 'down/..'), ('lumeno/down', tarfile.SYMTYPE, '..')",
        "('lumeno/a', tarfile.SYMTYPE, 'b'), ('lumeno/b', tarfile.SYMTYPE, 'a')",
        "('lumeno', tarfile.SYMTYPE, '.')",
        "('lumeno/d', tarfile.SYMTYPE, 'p'), ('lumeno/e', tarfile.SYMTYPE, 'd/../..'), ('lumeno/d', tarfile.DIRTYPE, '')",
    };
    for (const char* entries : cases) {
        QDir(destination()).removeRecursively();
        const auto failure = unpack(tarOf(QStringLiteral("('lumeno/p/q/x', tarfile.REGTYPE, 'ok'), %1").arg(entries)));
        ASSERT_TRUE(failure) << entries;
        EXPECT_EQ(failure->kind, Kind::unsafe) << entries << ": " << failure->reason.toStdString();
    }
    // Through a link that stays inside, a link may climb back to where it started.
    QDir(destination()).removeRecursively();
    const auto failure = unpack(tarOf("('lumeno/p/q/x', tarfile.REGTYPE, 'ok'), ('lumeno/p/q/b', tarfile.SYMTYPE, '..'),"
                                      "('lumeno/start', tarfile.SYMTYPE, 'p/q/b/../p/q/x'),"
                                      "('lumeno/p/q/top', tarfile.SYMTYPE, '../..')"));
    ASSERT_FALSE(failure) << failure->reason.toStdString();
    QFile reached(QDir(destination()).filePath("start"));
    ASSERT_TRUE(reached.open(QIODevice::ReadOnly));
    EXPECT_EQ(reached.readAll(), "ok");
}

// Whatever modes the archive gives, the installing user's files come out 0755 or 0644.
TEST_F(ArchiveUnpackerTest, ModesAreNormalised) {
    const auto failure = unpack(tarOf("('lumeno', tarfile.DIRTYPE, '', 0o777),"
                                      "('lumeno/setuid', tarfile.REGTYPE, 'x', 0o4755),"
                                      "('lumeno/setgid', tarfile.REGTYPE, 'x', 0o2711),"
                                      "('lumeno/anyone-writes', tarfile.REGTYPE, 'x', 0o666),"
                                      "('lumeno/others-run', tarfile.REGTYPE, 'x', 0o601),"
                                      "('lumeno/private', tarfile.REGTYPE, 'x', 0o600),"
                                      "('lumeno/shared', tarfile.DIRTYPE, '', 0o1777)"));
    ASSERT_FALSE(failure) << failure->reason.toStdString();
    const std::pair<const char*, mode_t> expected[] = {
        {"", 0755}, {"setuid", 0755}, {"setgid", 0755}, {"anyone-writes", 0644},
        {"others-run", 0755}, {"private", 0644}, {"shared", 0755},
    };
    for (const auto& [name, mode] : expected) {
        struct stat status {};
        ASSERT_EQ(::lstat(QDir(destination()).filePath(name).toLocal8Bit().constData(), &status), 0) << name;
        EXPECT_EQ(status.st_mode & 07777, mode) << name << std::oct << " is " << (status.st_mode & 07777);
    }
}

TEST_F(ArchiveUnpackerTest, AFullDiskIsToldApart) {
    const QByteArray lib = temp.filePath("prefix/lib").toLocal8Bit();
    if (::geteuid() != 0 || ::mount("tmpfs", lib, "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "a small file system needs mount rights";
    const auto failure = unpack(tarOf("('lumeno/lumeno', tarfile.REGTYPE, 'x' * 262144)"));
    ::umount(lib);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, Kind::diskFull) << failure->reason.toStdString();
}

TEST_F(ArchiveUnpackerTest, ADamagedOrEmptyArchiveIsUnreadable) {
    const QByteArray good = tarOf("('lumeno/lumeno', tarfile.REGTYPE, 'x' * 4000)");
    for (const QByteArray& archive : {good.left(good.size() / 2), QByteArray("not an archive"), tarOf("")}) {
        QDir(destination()).removeRecursively();
        const auto failure = unpack(archive);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->kind, Kind::unreadable) << failure->reason.toStdString();
    }
}

} // namespace
} // namespace lumeno
