#include "updates/Appcast.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

const QByteArray signature = QByteArray(64, 's').toBase64();

QByteArray feedWith(const QByteArray& items) {
    return "<rss version=\"2.0\" xmlns:lumeno=\"https://lumeno.app/xml/update\"><channel><title>Lumeno</title>" +
           items + "</channel></rss>";
}

TEST(AppcastTest, ReadsEveryPartOfAnItem) {
    const auto read = Appcast::read(feedWith(
        "<item><title>Lumeno 1.2</title><lumeno:version>1.2.0</lumeno:version>"
        "<lumeno:shortVersionString>1.2</lumeno:shortVersionString>"
        "<lumeno:releaseNotesLink>https://lumeno.app/notes/1.2</lumeno:releaseNotesLink>"
        "<lumeno:minimumSystemVersion>5.10</lumeno:minimumSystemVersion>"
        "<enclosure url=\"https://lumeno.app/lumeno-1.2.0.tar.gz\" length=\"4096\" type=\"application/x-gtar\" "
        "lumeno:edSignature=\"" + signature + "\"/></item>"));
    ASSERT_TRUE(std::holds_alternative<Appcast::Feed>(read));
    const Appcast::Feed& feed = std::get<Appcast::Feed>(read);
    ASSERT_EQ(feed.items.size(), 1u);
    const AppcastItem& item = feed.items[0];
    EXPECT_EQ(item.title, "Lumeno 1.2");
    EXPECT_EQ(item.version, "1.2.0");
    EXPECT_EQ(item.displayVersion, "1.2");
    EXPECT_EQ(item.releaseNotesLink, QUrl("https://lumeno.app/notes/1.2"));
    EXPECT_EQ(item.minimumSystemVersion, "5.10");
    EXPECT_EQ(item.enclosure.url, QUrl("https://lumeno.app/lumeno-1.2.0.tar.gz"));
    EXPECT_EQ(item.enclosure.length, 4096);
    EXPECT_EQ(item.enclosure.type, "application/x-gtar");
    EXPECT_EQ(item.enclosure.edSignature, QByteArray(64, 's'));
}

TEST(AppcastTest, ItemsMissingWhatAnInstallNeedsAreLeftOutAndNamed) {
    const QByteArray enclosure = "<enclosure url=\"https://lumeno.app/a.tar.gz\" length=\"10\" lumeno:edSignature=\"" + signature + "\"/>";
    const auto read = Appcast::read(feedWith(
        "<item><title>no version</title>" + enclosure + "</item>"
        "<item><lumeno:version>2</lumeno:version><enclosure url=\"https://lumeno.app/a.tar.gz\" length=\"10\"/></item>"
        "<item><lumeno:version>3</lumeno:version><enclosure url=\"https://lumeno.app/a.tar.gz\" lumeno:edSignature=\"" + signature + "\"/></item>"
        // An element of the same name outside our namespace is not our version.
        "<item><version>4</version>" + enclosure + "</item>"
        "<item><lumeno:version>5</lumeno:version>" + enclosure + "</item>"));
    ASSERT_TRUE(std::holds_alternative<Appcast::Feed>(read));
    const Appcast::Feed& feed = std::get<Appcast::Feed>(read);
    ASSERT_EQ(feed.items.size(), 1u);
    EXPECT_EQ(feed.items[0].version, "5");
    EXPECT_EQ(feed.items[0].displayVersion, "5") << "the version stands in for a missing short version";
    EXPECT_EQ(feed.skipped, (QStringList{"item \"no version\": no version", "item 2: no valid signature",
                                         "item 3: no archive length", "item (untitled): no version"}));
}

TEST(AppcastTest, PagesAndBrokenDocumentsAreNotFeeds) {
    const std::pair<QByteArray, Appcast::Failure::Kind> cases[] = {
        {"<!DOCTYPE html><html><body>Sign in</body></html>", Appcast::Failure::Kind::notAFeed},
        {"<!doctype html><html><body><br></body></html>", Appcast::Failure::Kind::notAFeed},
        {"Service Unavailable", Appcast::Failure::Kind::notAFeed},
        {"", Appcast::Failure::Kind::notAFeed},
        {"<rss version=\"2.0\"></rss>", Appcast::Failure::Kind::notAFeed},
        {feedWith("<item><title>cut").left(90), Appcast::Failure::Kind::malformed},
    };
    for (const auto& [document, kind] : cases) {
        const auto read = Appcast::read(document);
        ASSERT_TRUE(std::holds_alternative<Appcast::Failure>(read)) << document.toStdString();
        EXPECT_EQ(std::get<Appcast::Failure>(read).kind, kind) << document.toStdString();
    }
}

} // namespace
} // namespace lumeno
