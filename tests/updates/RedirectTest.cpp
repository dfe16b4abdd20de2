#include "shell/UpdateWindow.h"
#include "testsupport/Screenshots.h"
#include "updates/InstallFolder.h"
#include "updates/RedirectingFetch.h"
#include "updates/UpdateFixture.h"

#include <QLabel>

namespace lumeno::testing {
namespace {

using Phase = SoftwareUpdate::Phase;
using Kind = UpdateProblem::Kind;

// Feeds and archives behind redirects, as release hosting serves them, over real loopback servers.
class RedirectTest : public UpdateFixture {
protected:
    QByteArray itemAt(const QUrl& url) {
        return signedItem(archive, "1.1.0", "1.1", temp.filePath("keys/update-private.pem"), url);
    }

    void expectRefused(SoftwareUpdate& update, Kind kind) {
        EXPECT_EQ(checkAndDownload(update), Phase::failed);
        ASSERT_TRUE(update.problem());
        EXPECT_EQ(update.problem()->kind, kind) << update.problem()->reason.toStdString();
        EXPECT_TRUE(installedVersionFile().contains("version=1.0.0"));
        EXPECT_FALSE(QDir(InstallFolder(installed).staging()).exists());
    }

    // A chain /hop1 → /hop2 → … → /hop<count> → `target`.
    void chain(int count, const QUrl& target) {
        for (int hop = 1; hop <= count; ++hop)
            server.redirect(QStringLiteral("/hop%1").arg(hop),
                            hop == count ? target.toEncoded() : QStringLiteral("/hop%1").arg(hop + 1).toUtf8(), 302);
    }
};

TEST_F(RedirectTest, AFeedAndAnArchiveBehindRedirectsAreFollowedToTheEnd) {
    // Relative and absolute locations, each kind of redirect.
    server.redirect("/appcast.xml", "/moved/appcast.xml", 301);
    server.redirect("/moved/appcast.xml", server.url("/feed.xml").toEncoded(), 302);
    serveRelease(itemAt(server.url("/download/latest")));
    server.redirect("/download/latest", "../mirror/lumeno.tar.gz", 307);
    server.redirect("/mirror/lumeno.tar.gz", "/cdn/lumeno.tar.gz", 303);
    server.redirect("/cdn/lumeno.tar.gz", "/lumeno.tar.gz", 308);
    auto update = makeUpdate("/appcast.xml");
    ASSERT_EQ(checkAndDownload(*update), Phase::readyToInstall)
        << (update->problem() ? update->problem()->reason.toStdString() : "");
    for (const char* path : {"/appcast.xml", "/moved/appcast.xml", "/feed.xml", "/download/latest",
                             "/mirror/lumeno.tar.gz", "/cdn/lumeno.tar.gz", "/lumeno.tar.gz"})
        EXPECT_EQ(server.requestsFor(path), 1) << path;
    EXPECT_TRUE(QFile::exists(QDir(InstallFolder(installed).staging()).filePath("lumeno")));
}

TEST_F(RedirectTest, AtMostFiveRedirectsAreFollowed) {
    ASSERT_EQ(RedirectingFetch::maxRedirects, 5);
    chain(5, server.url("/feed.xml"));
    auto five = makeUpdate("/hop1");
    five->check(true);
    ASSERT_TRUE(reaches(*five, Phase::available)) << "five are followed";

    chain(6, server.url("/feed.xml"));
    auto six = makeUpdate("/hop1");
    six->check(true);
    ASSERT_TRUE(reaches(*six, Phase::failed));
    EXPECT_EQ(six->problem()->kind, Kind::feedRedirectLoop);
    EXPECT_EQ(server.requestsFor("/hop6"), 1) << "the sixth redirect is read, never followed";

    // An archive whose address points at itself.
    serveRelease(itemAt(server.url("/loop")));
    server.redirect("/loop", "/loop");
    auto looping = makeUpdate();
    expectRefused(*looping, Kind::downloadRedirectLoop);
    EXPECT_EQ(server.requestsFor("/loop"), RedirectingFetch::maxRedirects + 1);
    EXPECT_EQ(looping->problem()->detail(), "The download server kept sending Lumeno from one address to another, so "
                                            "Lumeno stopped following it. Try again later. Lumeno was left as it was.");
}

TEST_F(RedirectTest, ARedirectToPlainHttpOffThisMachineIsRefusedForWhatItIs) {
    server.redirect("/appcast.xml", "http://updates.example.org/appcast.xml", 302);
    auto feed = makeUpdate("/appcast.xml");
    feed->check(true);
    ASSERT_TRUE(reaches(*feed, Phase::failed));
    EXPECT_EQ(feed->problem()->kind, Kind::feedRedirectInsecure) << feed->problem()->reason.toStdString();
    EXPECT_EQ(feed->problem()->title(), "Lumeno couldn't check for updates.");
    EXPECT_EQ(feed->problem()->detail(), "The update server sent Lumeno on to an address that isn't secure, so Lumeno "
                                         "didn't follow it. Updates are only taken over https.");

    serveRelease(itemAt(server.url("/download")));
    server.redirect("/download", "http://updates.example.org/lumeno.tar.gz", 301);
    auto download = makeUpdate();
    expectRefused(*download, Kind::downloadRedirectInsecure);
    EXPECT_EQ(download->problem()->title(), "The update's address isn't secure.");
    EXPECT_TRUE(download->problem()->reason.contains("updates.example.org"));
}

TEST_F(RedirectTest, HttpsIsNeverLeftForHttpEvenOnThisMachine) {
    FeedServer secure(FeedServer::Scheme::https);
    // https to https is followed: the way a feed moves to its host.
    secure.redirect("/appcast.xml", secure.url("/current.xml").toEncoded());
    secure.serve("/current.xml", feedOf(itemAt(secure.url("/download"))));
    secure.redirect("/download", secure.url("/lumeno.tar.gz").toEncoded());
    secure.serve("/lumeno.tar.gz", archive, "application/x-gtar");
    auto update = makeUpdateFrom(secure.url("/appcast.xml"));
    ASSERT_EQ(checkAndDownload(*update), Phase::readyToInstall)
        << (update->problem() ? update->problem()->reason.toStdString() : "");
    InstallFolder(installed).clearStaging();

    secure.redirect("/appcast.xml", server.url("/feed.xml").toEncoded());
    auto feed = makeUpdateFrom(secure.url("/appcast.xml"));
    feed->check(true);
    ASSERT_TRUE(reaches(*feed, Phase::failed));
    EXPECT_EQ(feed->problem()->kind, Kind::feedRedirectInsecure);
    EXPECT_EQ(server.requestsFor("/feed.xml"), 0);

    secure.redirect("/appcast.xml", secure.url("/current.xml").toEncoded());
    secure.redirect("/download", server.url("/lumeno.tar.gz").toEncoded());
    auto download = makeUpdateFrom(secure.url("/appcast.xml"));
    expectRefused(*download, Kind::downloadRedirectInsecure);
    EXPECT_EQ(server.requestsFor("/lumeno.tar.gz"), 0);
}

TEST_F(RedirectTest, AnArchiveRedirectedToNothingIsAServerErrorNotAnInterruption) {
    serveRelease(itemAt(server.url("/download")));
    server.redirect("/download", "/gone.tar.gz", 302);
    auto update = makeUpdate();
    expectRefused(*update, Kind::downloadRefused);
    EXPECT_EQ(update->problem()->reason, "status 404");
    EXPECT_EQ(update->problem()->detail(),
              "The download server answered with an error. Try again later. Lumeno was left as it was.");
}

TEST_F(RedirectTest, TheWindowSaysARedirectWasRefusedAndWhy) {
    serveRelease(itemAt(server.url("/download")));
    server.redirect("/download", "http://updates.example.org/lumeno.tar.gz", 302);
    auto update = makeUpdate();
    UpdateWindow window(*update);
    update->check(true);
    window.present();
    ASSERT_TRUE(reaches(*update, Phase::available));
    update->installUpdate();
    ASSERT_TRUE(reaches(*update, Phase::failed));
    EXPECT_EQ(window.findChild<QLabel*>("updateTitle")->text(), "The update's address isn't secure.");
    EXPECT_EQ(window.findChild<QLabel*>("updateDetail")->text(),
              "The download server sent Lumeno on to an address that isn't secure, so the update wasn't downloaded. "
              "Updates are only taken over https. Lumeno was left as it was.");
    screenshots::save(screenshots::onDesktop(window), "update-window-insecure-redirect");
}

} // namespace
} // namespace lumeno::testing
