#include "updates/InstallFolder.h"
#include "updates/UpdateFixture.h"

#include <QRegularExpression>
#include <sys/stat.h>

namespace lumeno::testing {
namespace {

using Phase = SoftwareUpdate::Phase;
using Kind = UpdateProblem::Kind;

QStringList messages;
void keepMessage(QtMsgType, const QMessageLogContext&, const QString& message) {
    messages << message;
}

// Where the download goes while it arrives, how big it may be, and what is left when it ends early.
class DownloadFileTest : public UpdateFixture {
protected:
    // The feed's item for the release, claiming `length` bytes.
    QByteArray itemClaiming(qint64 length) {
        QByteArray item = signedItem(archive, "1.1.0", "1.1", temp.filePath("keys/update-private.pem"));
        return QString::fromUtf8(item).replace(QRegularExpression("length=\"\\d+\""), QStringLiteral("length=\"%1\"").arg(length)).toUtf8();
    }

    // The download files this process holds open: each one's folder and its size on the disk.
    static std::vector<std::pair<QString, qint64>> openDownloads() {
        std::vector<std::pair<QString, qint64>> found;
        const QDir descriptors("/proc/self/fd");
        for (const QString& name : descriptors.entryList(QDir::Files | QDir::System)) {
            const QString target = QFile::symLinkTarget(descriptors.filePath(name));
            if (!target.contains("/.lumeno.download-"))
                continue;
            struct stat status {};
            if (::stat(descriptors.filePath(name).toLocal8Bit(), &status) == 0)
                found.emplace_back(QFileInfo(target).absolutePath(), qint64(status.st_blocks) * 512);
        }
        return found;
    }
};

TEST_F(DownloadFileTest, AnArchiveClaimingMoreThanAnUpdateCanBeIsNeverRequested) {
    serveRelease(itemClaiming(SoftwareUpdate::maxArchiveBytes + 1));
    auto update = makeUpdate();
    ASSERT_EQ(checkAndDownload(*update), Phase::failed);
    EXPECT_EQ(update->problem()->kind, Kind::archiveTooLarge) << update->problem()->reason.toStdString();
    EXPECT_EQ(server.requestsFor("/lumeno.tar.gz"), 0);
}

TEST_F(DownloadFileTest, AnArchiveTheDiskHasNoRoomForIsNeverRequested) {
    const QByteArray lib = temp.filePath("prefix/lib").toLocal8Bit();
    if (::geteuid() != 0 || ::mount("tmpfs", lib, "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "a small file system needs mount rights";
    mounted = lib;
    writeProgram(installed, "1.0.0", key);
    serveRelease(itemClaiming(1024 * 1024));
    auto update = makeUpdate();
    ASSERT_EQ(checkAndDownload(*update), Phase::failed);
    EXPECT_EQ(update->problem()->kind, Kind::diskFull) << update->problem()->reason.toStdString();
    EXPECT_EQ(server.requestsFor("/lumeno.tar.gz"), 0);
    EXPECT_TRUE(QTest::qWaitFor([] { return openDownloads().empty(); }, 20000));
    EXPECT_EQ(QDir(lib).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{"lumeno"});
}

TEST_F(DownloadFileTest, TheArchiveArrivesInAFileBesideTheInstallThatCancelLeavesNoTraceOf) {
    // A release large enough to be caught half way.
    QByteArray padding;
    for (int block = 0; block < 64; ++block)
        padding += QByteArray::number(block).repeated(4096).toBase64();
    const QByteArray bytes = buildArchive("1.1.0", key, QStringLiteral("install"), padding);
    serveRelease(signedItem(bytes, "1.1.0", "1.1", temp.filePath("keys/update-private.pem")), bytes);
    server.holdAfter("/lumeno.tar.gz", bytes.size() / 2);

    auto update = makeUpdate();
    update->check(true);
    ASSERT_TRUE(reaches(*update, Phase::available));
    update->installUpdate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return update->receivedBytes() >= bytes.size() / 2; }, 20000));
    const auto downloads = openDownloads();
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_EQ(downloads[0].first, temp.filePath("prefix/lib")) << "on the file system the update is unpacked to";
    EXPECT_GE(downloads[0].second, bytes.size()) << "the whole stated length is reserved";
    EXPECT_EQ(QDir(temp.filePath("prefix/lib")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"lumeno"})
        << "the download has no name that could be left behind";

    messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    update->cancel();
    EXPECT_EQ(update->phase(), Phase::available);
    EXPECT_FALSE(update->problem()) << "a cancel is no failure";
    EXPECT_TRUE(QTest::qWaitFor([] { return openDownloads().empty(); }, 20000)) << "the file is closed and freed";
    EXPECT_EQ(update->phase(), Phase::available) << "the download that ended stays quiet";
    EXPECT_FALSE(update->problem());
    server.release();
    update->installUpdate();
    EXPECT_TRUE(reaches(*update, Phase::readyToInstall));
    qInstallMessageHandler(previous);
    EXPECT_FALSE(messages.join('\n').contains("not open")) << messages.join('\n').toStdString();
    EXPECT_TRUE(QTest::qWaitFor([] { return openDownloads().empty(); }, 20000)) << "nor kept once unpacked";
}

} // namespace
} // namespace lumeno::testing
