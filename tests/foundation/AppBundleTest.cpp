// The program's bundle file beside its executable: what it reads, and a clear message for every way the
// file can be wrong.
#include "foundation/AppBundle.h"

#include "testsupport/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

// 32 bytes 0x00..0x1f.
const QByteArray rawKey = [] {
    QByteArray key;
    for (char byte = 0; byte < 32; ++byte)
        key.append(byte);
    return key;
}();

class AppBundleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()) << folder.errorString().toStdString(); }
    void write(const QByteArray& contents) {
        QFile file(QDir(folder.path()).filePath(AppBundle::fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }
    std::variant<AppBundle, QString> read() const { return AppBundle::read(folder.path()); }
    // The message of a bundle that must not read.
    QString problem(const QByteArray& contents) {
        write(contents);
        const std::variant<AppBundle, QString> result = read();
        EXPECT_TRUE(std::holds_alternative<QString>(result)) << contents.toStdString();
        return std::holds_alternative<QString>(result) ? std::get<QString>(result) : QString();
    }
    QString path() const { return QDir(folder.path()).filePath(AppBundle::fileName); }

    QTemporaryDir folder;
};

TEST_F(AppBundleTest, EveryPropertyIsReadWithCommentsAndUnknownKeysPassedOver) {
    write("# written by the build\r\n"
          "identifier = app.lumeno.Lumeno\r\n"
          "\n"
          "version=1.10.0-beta.2   # from the project\n"
          "display-version=1.10 beta\n"
          "feed=https://updates.example.com/appcast.xml#stable\n"
          "public-key=" + rawKey.toBase64() + "\n"
          "channel=nightly\n"
          "x-later-key=anything = at all\n");
    const std::variant<AppBundle, QString> result = read();
    ASSERT_TRUE(std::holds_alternative<AppBundle>(result)) << std::get<QString>(result).toStdString();
    const AppBundle expected{QStringLiteral("app.lumeno.Lumeno"),
                             QStringLiteral("1.10.0-beta.2"),
                             QStringLiteral("1.10 beta"),
                             QStringLiteral("https://updates.example.com/appcast.xml#stable"),
                             rawKey,
                             QDir(folder.path()).absolutePath()};
    EXPECT_EQ(std::get<AppBundle>(result), expected);
}

TEST_F(AppBundleTest, WithoutFeedKeyOrDisplayVersionTheBundleHasNoneAndShowsItsVersion) {
    write("identifier=app.lumeno.Lumeno\nversion=2.0.1\nfeed=\npublic-key=\n");
    const std::variant<AppBundle, QString> result = read();
    ASSERT_TRUE(std::holds_alternative<AppBundle>(result)) << std::get<QString>(result).toStdString();
    const AppBundle& bundle = std::get<AppBundle>(result);
    EXPECT_EQ(bundle.displayVersion, QStringLiteral("2.0.1"));
    EXPECT_EQ(bundle.feed, QString());
    EXPECT_EQ(bundle.publicKey, QByteArray());
}

// Only what the build writes down names who put the folder there; anything else is not known.
TEST_F(AppBundleTest, TheInstallationSaysWhoPutTheFolderThere) {
    using Installation = AppBundle::Installation;
    const std::pair<QByteArray, Installation> cases[] = {
        {"installation=build\n", Installation::buildTree},
        {"installation=install\n", Installation::installed},
        {"installation=package\n", Installation::packaged},
        {"installation=Install\n", Installation::unknown},
        {"", Installation::unknown},
    };
    for (const auto& [line, installation] : cases) {
        write("identifier=app.lumeno.Lumeno\nversion=2.0.1\n" + line);
        const std::variant<AppBundle, QString> result = read();
        ASSERT_TRUE(std::holds_alternative<AppBundle>(result)) << line.toStdString();
        EXPECT_EQ(std::get<AppBundle>(result).installation, installation) << line.toStdString();
    }
}

TEST_F(AppBundleTest, AMissingFileIsNamedInTheMessage) {
    const std::variant<AppBundle, QString> result = read();
    ASSERT_TRUE(std::holds_alternative<QString>(result));
    EXPECT_EQ(std::get<QString>(result), QStringLiteral("The program's bundle file %1 is missing.").arg(path()));
}

TEST_F(AppBundleTest, ABrokenLineIsNamedByItsNumber) {
    const QString prefix = QStringLiteral("The program's bundle file %1 is broken: ").arg(path());
    EXPECT_EQ(problem("identifier=app.lumeno.Lumeno\n# fine\nversion 1.0.0\n"),
              prefix + QStringLiteral("line 3 is not key=value."));
    EXPECT_EQ(problem("=1.0.0\n"), prefix + QStringLiteral("line 1 is not key=value."));
    EXPECT_EQ(problem("identifier=a\nversion=1\nversion=2\n"),
              prefix + QStringLiteral("line 3 gives \"version\" a second time."));
    EXPECT_EQ(problem("version=1.0.0\n"), prefix + QStringLiteral("it names no identifier."));
    EXPECT_EQ(problem("identifier=app.lumeno.Lumeno\nversion=   # to be filled in\n"),
              prefix + QStringLiteral("it names no version."));
    EXPECT_EQ(problem("identifier=app.lumeno.Lumeno\nversion=1.0\xff\n"),
              prefix + QStringLiteral("it is not UTF-8 text."));
}

TEST_F(AppBundleTest, APublicKeyMustBeBase64OfAnEd25519Key) {
    const QString prefix =
        QStringLiteral("The program's bundle file %1 is broken: ").arg(path());
    const QByteArray start = "identifier=app.lumeno.Lumeno\nversion=1.0.0\npublic-key=";
    EXPECT_EQ(problem(start + "not*base64!\n"), prefix + QStringLiteral("public-key is not base64."));
    EXPECT_EQ(problem(start + rawKey.left(31).toBase64() + "\n"),
              prefix + QStringLiteral("public-key has 31 bytes, an Ed25519 key has 32."));
    EXPECT_EQ(problem(start + (rawKey + rawKey).toBase64() + "\n"),
              prefix + QStringLiteral("public-key has 64 bytes, an Ed25519 key has 32."));
}

TEST_F(AppBundleTest, AFileThatCannotBeReadSaysSo) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(AppBundle::fileName));
    const std::variant<AppBundle, QString> result = read();
    ASSERT_TRUE(std::holds_alternative<QString>(result));
    EXPECT_TRUE(std::get<QString>(result).startsWith(
        QStringLiteral("The program's bundle file %1 can't be read: ").arg(path())))
        << std::get<QString>(result).toStdString();
}

} // namespace
} // namespace lumeno
