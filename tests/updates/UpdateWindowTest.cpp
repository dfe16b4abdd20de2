#include "shell/UpdateWindow.h"
#include "testsupport/Screenshots.h"
#include "updates/UpdateFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

namespace lumeno::testing {
namespace {

using Phase = SoftwareUpdate::Phase;

class UpdateWindowTest : public UpdateFixture {
protected:
    QString text(const char* name) { return window->findChild<QLabel*>(name)->text(); }
    QPushButton* button(const char* name) { return window->findChild<QPushButton*>(name); }
    // The buttons on show, left to right.
    QStringList buttons() {
        QStringList shown;
        for (const char* name : {"updateSecondary", "updateCancel", "updatePrimary"})
            if (button(name)->isVisible())
                shown << button(name)->text();
        return shown;
    }
    void shoot(const QString& name) { screenshots::save(screenshots::onDesktop(*window), "update-window-" + name); }
    void open() {
        update = makeUpdate();
        window = std::make_unique<UpdateWindow>(*update);
        update->check(true);
        window->present();
    }

    std::unique_ptr<SoftwareUpdate> update;
    std::unique_ptr<UpdateWindow> window;
};

TEST_F(UpdateWindowTest, TakesTheUserFromTheOfferToInstallAndRelaunch) {
    open();
    EXPECT_EQ(text("updateTitle"), "Checking for updates…");
    EXPECT_EQ(buttons(), QStringList{"Cancel"});
    shoot("checking");
    // From step to step the window grows or shrinks downward only: it never jumps sideways.
    const int width = window->width();
    ASSERT_TRUE(reaches(*update, Phase::available));
    EXPECT_EQ(text("updateTitle"), "A new version of Lumeno is available!");
    EXPECT_EQ(text("updateDetail"), "Lumeno 1.1 is now available—you have 1.0.0. Would you like to install it now?");
    EXPECT_TRUE(window->findChild<QTextBrowser*>("releaseNotes")->toPlainText().contains("Replies keep your sign-off."));
    EXPECT_EQ(buttons(), (QStringList{"Skip This Version", "Remind Me Later", "Install Update"}));
    shoot("offer");
    EXPECT_EQ(window->width(), width);

    button("updatePrimary")->click();
    EXPECT_EQ(text("updateTitle"), "Downloading update…");
    EXPECT_EQ(buttons(), QStringList{"Cancel"});
    shoot("downloading");
    ASSERT_TRUE(reaches(*update, Phase::readyToInstall));
    EXPECT_EQ(text("updateTitle"), "Ready to Install");
    EXPECT_EQ(buttons(), (QStringList{"Cancel", "Install and Relaunch"}));
    shoot("ready");
    EXPECT_EQ(window->width(), width);
}

TEST_F(UpdateWindowTest, RemindMeLaterPutsTheWindowAwayAndKeepsTheOffer) {
    open();
    ASSERT_TRUE(reaches(*update, Phase::available));
    button("updateCancel")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(update->phase(), Phase::available);
    EXPECT_EQ(settings.skippedUpdateVersion(), "");
    window->present();
    EXPECT_EQ(buttons(), (QStringList{"Skip This Version", "Remind Me Later", "Install Update"}));
    button("updateSecondary")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(settings.skippedUpdateVersion(), "1.1.0");
}

TEST_F(UpdateWindowTest, SaysWhatWentWrongAndThatNothingChanged) {
    run({"keygen", temp.filePath("other")});
    serveRelease(signedItem(archive, "1.1.0", "1.1", temp.filePath("other/update-private.pem")));
    open();
    ASSERT_TRUE(reaches(*update, Phase::available));
    button("updatePrimary")->click();
    ASSERT_TRUE(reaches(*update, Phase::failed));
    EXPECT_EQ(text("updateTitle"), "The update couldn't be verified.");
    EXPECT_EQ(text("updateDetail"),
              "The download isn't signed by Lumeno's maker, so it wasn't installed. Lumeno was left as it was.");
    EXPECT_EQ(buttons(), QStringList{"OK"});
    shoot("bad-signature");
}

TEST_F(UpdateWindowTest, SaysWhichVersionWasKeptWhenTheNewOneCouldNotStart) {
    open();
    ASSERT_TRUE(reaches(*update, Phase::available));
    button("updatePrimary")->click();
    ASSERT_TRUE(reaches(*update, Phase::readyToInstall));
    button("updatePrimary")->click(); // Install and Relaunch: the new program ends at once
    ASSERT_TRUE(reaches(*update, Phase::failed));
    EXPECT_EQ(text("updateTitle"), "Lumeno 1.1 couldn't start, so Lumeno 1.0.0 was kept.");
    EXPECT_EQ(text("updateDetail"),
              "Lumeno 1.1 was opened after the update but didn't get ready, so it was removed again. You can go on "
              "using Lumeno 1.0.0 as before.");
    EXPECT_EQ(buttons(), QStringList{"OK"});
    shoot("could-not-start");
}

TEST_F(UpdateWindowTest, SaysSoWhenTheKeptVersionCouldNotBePutBack) {
    serveRelease(signedItem(buildArchive("1.1.0", key, neverTakesOver), "1.1.0", "1.1", temp.filePath("keys/update-private.pem")),
                 buildArchive("1.1.0", key, neverTakesOver));
    open();
    ASSERT_TRUE(reaches(*update, Phase::available));
    button("updatePrimary")->click();
    ASSERT_TRUE(reaches(*update, Phase::readyToInstall));
    button("updatePrimary")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return launchedPid > 0; }, 20000));
    ASSERT_TRUE(QDir(installed + ".previous").removeRecursively()); // something took the old version away
    scheduler.advance(SoftwareUpdate::handoverSeconds);
    ASSERT_TRUE(reaches(*update, Phase::failed));
    EXPECT_EQ(text("updateTitle"), "Lumeno 1.1 couldn't start, and Lumeno 1.0.0 couldn't be put back.");
    EXPECT_EQ(text("updateDetail"), "Lumeno 1.0.0 keeps running until you quit it. To have Lumeno start again after "
                                    "that, install it again.");
    shoot("could-not-put-back");
}

TEST_F(UpdateWindowTest, UpToDateNamesTheInstalledVersion) {
    serveRelease(signedItem(archive, "1.0.0", "1.0.0", temp.filePath("keys/update-private.pem")));
    open();
    ASSERT_TRUE(reaches(*update, Phase::upToDate));
    EXPECT_EQ(text("updateTitle"), "You're up to date!");
    EXPECT_EQ(text("updateDetail"), "Lumeno 1.0.0 is currently the newest version available.");
    shoot("up-to-date");
}

TEST_F(UpdateWindowTest, OnlyAnInstallTheUserCannotWriteIsSentToThePackageManager) {
    update = std::make_unique<SoftwareUpdate>(SoftwareUpdate::Environment{
        installedBundle(), std::nullopt, std::make_shared<QtHttpTransport>(), settings, {}, {},
        [](std::function<void()> job) { QThreadPool::globalInstance()->start(std::move(job)); }, scheduler, {}, {}, {}});
    window = std::make_unique<UpdateWindow>(*update);
    update->check(true);
    window->present();
    ASSERT_TRUE(reaches(*update, Phase::noFeed));
    EXPECT_EQ(text("updateTitle"), "Updates aren't available for this copy.") << "a writable install";
    shoot("no-feed");

    if (!makePrefixReadOnly())
        GTEST_SKIP() << "root without mount rights cannot make a read-only prefix";
    open();
    ASSERT_TRUE(reaches(*update, Phase::available));
    EXPECT_EQ(text("updateDetail"), "Lumeno 1.1 is now available—you have 1.0.0. Lumeno is installed for the whole "
                                    "system, so your system's package manager updates it.");
    EXPECT_EQ(buttons(), (QStringList{"Skip This Version", "Remind Me Later"}));
    shoot("package-manager");
}

} // namespace
} // namespace lumeno::testing
