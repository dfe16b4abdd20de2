#include "platform/fake/FakeHttpTransport.h"
#include "shell/FeedUpdater.h"
#include "shell/UpdateWindow.h"
#include "testsupport/Screenshots.h"
#include "updates/UpdateFixture.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>

namespace lumeno::testing {

// Takes the links the desktop is asked to open, whatever their scheme, instead of a browser.
class OpenedLinks : public QObject {
    Q_OBJECT
public:
    static constexpr const char* schemes[] = {"https", "http", "file", "javascript", "ftp"};
    OpenedLinks() {
        for (const char* scheme : schemes)
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~OpenedLinks() override {
        for (const char* scheme : schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

namespace {

using Phase = SoftwareUpdate::Phase;

class UpdateWindowTest : public UpdateFixture {
protected:
    QString text(const char* name) { return shown->findChild<QLabel*>(name)->text(); }
    QPushButton* button(const char* name) { return shown->findChild<QPushButton*>(name); }
    // The buttons on show, left to right.
    QStringList buttons() {
        QStringList shown;
        for (const char* name : {"updateSecondary", "updateCancel", "updatePrimary"})
            if (button(name)->isVisible())
                shown << button(name)->text();
        return shown;
    }
    void shoot(const QString& name) { screenshots::save(screenshots::onDesktop(*shown), "update-window-" + name); }
    void open() {
        update = makeUpdate();
        window = std::make_unique<UpdateWindow>(*update);
        shown = window.get();
        update->check(true);
        window->present();
    }

    std::unique_ptr<SoftwareUpdate> update;
    std::unique_ptr<UpdateWindow> window;
    UpdateWindow* shown = nullptr; // the window the helpers look at
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

// The menu's offer after a failed download is the offer again, not the old failure.
TEST_F(UpdateWindowTest, TheOfferShownAfterAFailureCanBeTriedAgain) {
    serveRelease(signedItem(archive, "1.1.0", "1.1", temp.filePath("keys/update-private.pem")),
                 archive.left(archive.size() / 2));
    FeedUpdater updater(environment());
    updater.checkForUpdates();
    ASSERT_TRUE(reaches(updater.update(), Phase::available));
    updater.window().findChild<QPushButton*>("updatePrimary")->click();
    ASSERT_TRUE(reaches(updater.update(), Phase::failed));
    updater.window().hide();
    updater.showOffer();
    EXPECT_TRUE(updater.window().isVisible());
    EXPECT_EQ(updater.window().findChild<QLabel*>("updateTitle")->text(), "A new version of Lumeno is available!");
    EXPECT_EQ(updater.window().findChild<QPushButton*>("updatePrimary")->text(), "Install Update");
}

// The user closes the window while the download runs, and it fails: a note says so, and the window, opened
// from the menu or the note, shows the failure (not the offer) until the user has seen it. A failure the
// open window shows, or one of a background check, brings no note.
TEST_F(UpdateWindowTest, AFailureWhileTheWindowIsClosedIsNotedAndShownUntilSeen) {
    auto transport = std::make_shared<FakeHttpTransport>();
    SoftwareUpdate::Environment answeredByTheTest = environment();
    answeredByTheTest.transport = transport;
    FeedUpdater updater(std::move(answeredByTheTest));
    shown = &updater.window();
    QStringList notes;
    updater.onUnseenProblem = [&](const QString& title, const QString& message) { notes << title + " | " + message; };
    // Install Update, and wait until the archive is asked for.
    const auto startDownload = [&] {
        button("updatePrimary")->click();
        return QTest::qWaitFor([&] { return transport->waitingCount() == 1; }, 20000);
    };

    transport->enqueue(FakeHttpTransport::failure());
    updater.checkInBackground();
    ASSERT_TRUE(reaches(updater.update(), Phase::failed));
    transport->enqueue(HttpResponse{200, {}, feedOf(signedItem(archive, "1.1.0", "1.1", temp.filePath("keys/update-private.pem")))});
    updater.checkForUpdates();
    ASSERT_TRUE(reaches(updater.update(), Phase::available));
    ASSERT_TRUE(startDownload());
    transport->respond(FakeHttpTransport::failure());
    ASSERT_TRUE(reaches(updater.update(), Phase::failed));
    EXPECT_EQ(text("updateTitle"), "The update couldn't be downloaded.");
    EXPECT_TRUE(notes.isEmpty()) << notes.join('\n').toStdString();

    button("updatePrimary")->click(); // OK
    updater.showOffer();
    ASSERT_TRUE(startDownload());
    shown->close(); // as the window manager's close button does
    transport->respond(HttpResponse{200, {}, archive.left(archive.size() / 2)});
    ASSERT_TRUE(reaches(updater.update(), Phase::failed));
    EXPECT_EQ(notes, QStringList{"The update couldn't be downloaded. | The download isn't the size the update feed "
                                 "says. Lumeno was left as it was."});
    EXPECT_FALSE(shown->isVisible());

    updater.showOffer();
    ASSERT_TRUE(shown->isVisible());
    EXPECT_EQ(text("updateTitle"), "The update couldn't be downloaded.");
    EXPECT_EQ(buttons(), QStringList{"OK"});
    shoot("failure-while-closed");
    shown->close();
    updater.showOffer();
    EXPECT_EQ(text("updateTitle"), "A new version of Lumeno is available!") << "seen, the failure gives way";
    EXPECT_EQ(buttons(), (QStringList{"Skip This Version", "Remind Me Later", "Install Update"}));
    EXPECT_EQ(notes.size(), 1);
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
    serveReleaseThat(neverTakesOver);
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

// Without a feed the window says what that means for the user; a package's copy is sent to the package
// manager.
TEST_F(UpdateWindowTest, ACopyWithoutAFeedSaysItDoesNotCheckForUpdates) {
    const auto openWithoutFeed = [this] {
        update = std::make_unique<SoftwareUpdate>(SoftwareUpdate::Environment{
            installedBundle(), std::nullopt, std::make_shared<QtHttpTransport>(), settings, {}, {},
            [](std::function<void()> job) { QThreadPool::globalInstance()->start(std::move(job)); }, scheduler,
            {}, {}, {}});
        window = std::make_unique<UpdateWindow>(*update);
        shown = window.get();
        update->check(true);
        window->present();
        return reaches(*update, Phase::noFeed);
    };
    ASSERT_TRUE(openWithoutFeed());
    EXPECT_EQ(text("updateTitle"), "This copy of Lumeno doesn't check for updates.");
    EXPECT_EQ(text("updateDetail"),
              "You have Lumeno 1.0.0. To get a newer version, install it the same way you installed this one.");
    EXPECT_EQ(buttons(), QStringList{"OK"});
    shoot("no-feed");

    writeProgram(installed, "1.0.0", key, QStringLiteral("package"));
    ASSERT_TRUE(openWithoutFeed());
    EXPECT_EQ(text("updateTitle"), "Your system's package manager updates Lumeno.");
    EXPECT_EQ(text("updateDetail"), "Lumeno 1.0.0 was installed from a package. Use your system's software updater "
                                    "to get newer versions.");
    shoot("no-feed-package");
}

// An update this copy cannot install is shown with the reason, and without an Install button.
TEST_F(UpdateWindowTest, AnUpdateThisCopyCannotInstallIsShownWithTheReason) {
    const QString offered = QStringLiteral("Lumeno 1.1 is now available—you have 1.0.0. ");
    writeProgram(installed, "1.0.0", key, QStringLiteral("package"));
    open();
    ASSERT_TRUE(reaches(*update, Phase::available));
    EXPECT_EQ(text("updateDetail"),
              offered + "Lumeno was installed from a package, so your system's package manager updates it.");
    EXPECT_EQ(buttons(), (QStringList{"Skip This Version", "Remind Me Later"}));
    shoot("package-manager");

    writeProgram(installed, "1.0.0", key, QStringLiteral("build"));
    open();
    ASSERT_TRUE(reaches(*update, Phase::available));
    EXPECT_EQ(text("updateDetail"), offered + "This copy runs from the folder it was built in, and Lumeno updates "
                                              "only a copy installed with “make install”.");
    EXPECT_EQ(buttons(), (QStringList{"Skip This Version", "Remind Me Later"}));
    shoot("build-folder");

    writeProgram(installed, "1.0.0", key);
    if (!makePrefixReadOnly())
        GTEST_SKIP() << "root without mount rights cannot make a read-only prefix";
    open();
    ASSERT_TRUE(reaches(*update, Phase::available));
    EXPECT_TRUE(text("updateDetail").startsWith(offered + "Lumeno can't update itself here, because it can't write to "
                                                          "the folder it's installed in ("))
        << text("updateDetail").toStdString();
    EXPECT_TRUE(text("updateDetail").endsWith("). Install the new version the way you installed this one."));
    EXPECT_EQ(buttons(), (QStringList{"Skip This Version", "Remind Me Later"}));
    shoot("unwritable");
}

TEST_F(UpdateWindowTest, ReleaseNotesOpenOnlySecureLinks) {
    QByteArray item = signedItem(archive, "1.1.0", "1.1", temp.filePath("keys/update-private.pem"));
    item = QString::fromUtf8(item)
               .replace(QRegularExpression("<description>.*</description>"),
                        "<description><![CDATA[<p>Read <a href=\"https://lumeno.app/releases/1.1\">the full notes</a>, "
                        "the <a href=\"http://127.0.0.1:8000/changes\">local changes</a>, "
                        "the <a href=\"http://lumeno.example.org/plain\">plain page</a>, "
                        "your <a href=\"file:///etc/passwd\">password file</a>, "
                        "a <a href=\"javascript:alert(1)\">script</a>, "
                        "an <a href=\"ftp://lumeno.example.org/notes\">old server</a> and "
                        "a <a href=\"notes.html\">relative page</a>.</p>]]></description>")
               .toUtf8();
    serveRelease(item);
    open();
    ASSERT_TRUE(reaches(*update, Phase::available));
    auto* notes = window->findChild<QTextBrowser*>("releaseNotes");
    const QString shown = notes->toPlainText();
    OpenedLinks opened;
    // Clicks each link where the user sees it.
    for (const char* text : {"the full notes", "local changes", "plain page", "password file", "script", "old server",
                             "relative page"}) {
        QTextCursor cursor = notes->document()->find(QString::fromUtf8(text));
        ASSERT_FALSE(cursor.isNull()) << text;
        cursor.setPosition(cursor.selectionStart() + 2);
        const QPoint point = notes->cursorRect(cursor).center();
        QTest::mouseClick(notes->viewport(), Qt::LeftButton, {}, point);
    }
    EXPECT_EQ(opened.urls, (QList<QUrl>{QUrl("https://lumeno.app/releases/1.1"), QUrl("http://127.0.0.1:8000/changes")}));
    EXPECT_EQ(notes->toPlainText(), shown) << "no link is followed inside the window";
    shoot("notes-with-links");
}

} // namespace
} // namespace lumeno::testing

#include "UpdateWindowTest.moc"
