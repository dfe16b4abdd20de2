#include "AppFixture.h"

#include "platform/fake/FakeMicrophoneAuthorizer.h"
#include "platform/fake/FakeAccessibilityTrust.h"
#include "platform/fake/FakeTrayWatch.h"
#include "details/DraftDetailsWindow.h"
#include "shell/MenuBar.h"
#include "shell/SettingsWindow.h"
#include "shell/TrayNote.h"
#include "shell/UpdateController.h"
#include "support/Log.h"

#include <QCoroTask>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPainter>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

namespace lumeno {
namespace {

struct UpdaterCalls {
    int made = 0;
    QStringList checks; // "background" and "user", in the order they were asked for
    std::optional<QUrl> feed;
};

class FakeUpdater final : public Updater {
public:
    explicit FakeUpdater(UpdaterCalls& calls) : calls_(calls) {}
    std::optional<QUrl> feedUrl() const override { return calls_.feed; }
    void checkInBackground() override { calls_.checks << QStringLiteral("background"); }
    void checkForUpdates() override { calls_.checks << QStringLiteral("user"); }
    void showOffer() override { calls_.checks << QStringLiteral("offer shown"); }

private:
    UpdaterCalls& calls_;
};

class MenuBarTest : public AppFixture {
protected:
    MenuBarTest() {
        previousSink = Log::setSink(log);
        build();
        makeMenuBar();
    }
    ~MenuBarTest() override {
        menuBar.reset();
        Log::setSink(previousSink);
    }
    void makeMenuBar() {
        menuBar = std::make_unique<MenuBar>(MenuBar::Services{app->settings, app->memory, app->account, app->permissions,
                                                              *platform.pasteboard, app->contextPacker, *platform.trayWatch,
                                                              app->scheduler},
                                            *windows, updates);
        menuBar->statusLine = [this] { return status; };
        menuBar->needsAttention = [this] { return attention; };
        menuBar->lastDraft = [this] { return draft; };
    }
    void grantBoth() {
        static_cast<FakeMicrophoneAuthorizer&>(*platform.microphone).setStatus(AuthorizationStatus::granted);
        static_cast<FakeAccessibilityTrust&>(*platform.accessibilityTrust).setTrusted(true);
        app->permissions.refresh();
    }
    void addDueCommitments(int count) {
        for (int i = 0; i < count; ++i)
            app->memory.addCommitment(QStringLiteral("Send the slides %1").arg(i), clock.now().addDays(-1), std::nullopt);
    }
    QStringList items() {
        menuBar->rebuildMenu();
        QStringList texts;
        for (QAction* action : menuBar->menu().actions())
            texts << (action->isSeparator() ? QStringLiteral("—") : action->text());
        return texts;
    }
    QAction* item(const char* name) { return menuBar->menu().findChild<QAction*>(name); }
    void shootLabel(const MenuBarLabel::State& state, const QString& name) {
        QImage strip(QSize(3 * 22 + 64 + 3 * 24, 64), QImage::Format_ARGB32_Premultiplied);
        strip.fill(QColor(0x2b, 0x2b, 0x2e)); // a dark panel, and a light one beside it
        QPainter painter(&strip);
        painter.fillRect(QRect(strip.width() / 2, 0, strip.width() / 2, 64), QColor(0xf0, 0xf0, 0xf0));
        painter.drawImage(QPoint(12, 21), MenuBarLabel::image(state, 22));
        painter.drawImage(QPoint(44, 0), MenuBarLabel::image(state, 64));
        painter.drawImage(QPoint(strip.width() / 2 + 12, 21), MenuBarLabel::image(state, 22));
        painter.end();
        screenshots::save(strip, name);
    }

    std::shared_ptr<CapturingLogSink> log = std::make_shared<CapturingLogSink>();
    std::shared_ptr<LogSink> previousSink;
    UpdaterCalls calls;
    UpdateController updates{[this] {
                                 ++calls.made;
                                 return std::make_unique<FakeUpdater>(calls);
                             },
                             true};
    QString status = QStringLiteral("Sign in to reply");
    bool attention = true;
    std::optional<QString> draft;
    std::unique_ptr<MenuBar> menuBar;
};

TEST_F(MenuBarTest, SignedOutWithoutPermissionsOffersBothFixesAndAPlainWarning) {
    EXPECT_EQ(items(), (QStringList{"Sign in to reply", "Sign In…", "Allow Permissions…", "—", "Pause", "—",
                                    "Memory…", "How to Use", "—", "Check for Updates…", "Settings…", "—",
                                    "Quit Lumeno"}));
    EXPECT_FALSE(item("statusLine")->isEnabled()) << "the status is a line of text, not a command";
    addDueCommitments(2);
    EXPECT_EQ(MenuBarLabel::symbol(menuBar->labelState()), "exclamationmark.triangle");
    EXPECT_EQ(MenuBarLabel::badge(menuBar->labelState()), "") << "a warning never carries a count";
    shootLabel(menuBar->labelState(), "tray-icon-attention");
    // The warning is a badge on Lumeno's own tile and arrow, which a new user can tell apart from others'.
    const QImage warning = MenuBarLabel::image(menuBar->labelState(), 32);
    const QImage ready = MenuBarLabel::image({false, false, 0}, 32);
    // Orange in the bottom right corner counts; anywhere else it spoils the count.
    const auto badgeInk = [](const QImage& image) {
        int orange = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() == 255 && c.red() > 200 && c.green() < 190 && c.blue() < 80)
                    orange += x >= 13 && y >= 13 ? 1 : -100;
            }
        return orange;
    };
    EXPECT_GT(badgeInk(warning), 32 * 32 / 20) << "the warning sits in the bottom right corner, and only there";
    EXPECT_EQ(warning.copy(0, 0, 32, 11), ready.copy(0, 0, 32, 11)) << "above the badge, the icon is the ready one";
    EXPECT_EQ(badgeInk(ready), 0);
    EXPECT_EQ(badgeInk(MenuBarLabel::image({true, true, 0}, 32)), 0) << "paused, the icon shows the pause alone";
    EXPECT_EQ(MenuBarLabel::toolTip(QStringLiteral("Sign in to reply")), "Lumeno: Sign in to reply");

    item("signIn")->trigger();
    ASSERT_NE(windows->guideWindow(), nullptr);
    EXPECT_TRUE(windows->guideWindow()->isVisible());
    item("allowPermissions")->trigger();
    EXPECT_TRUE(windows->setupWindow()->isVisible());
}

TEST_F(MenuBarTest, AMissingMicrophoneIsNoPermissionToAllow) {
    signIn(QStringLiteral("Ana"));
    makeMenuBar();
    grantBoth();
    static_cast<FakeMicrophoneAuthorizer&>(*platform.microphone).changeSoundServer(true);
    EXPECT_FALSE(items().contains("Allow Permissions…"));
    EXPECT_EQ(item("allowPermissions")->text(), "Set Up Microphone…");
    item("allowPermissions")->trigger();
    EXPECT_TRUE(windows->setupWindow()->isVisible());
    static_cast<FakeAccessibilityTrust&>(*platform.accessibilityTrust).setTrusted(false);
    app->permissions.refresh();
    menuBar->rebuildMenu();
    EXPECT_EQ(item("allowPermissions")->text(), "Allow Permissions…") << "accessibility is one to allow";
}

TEST_F(MenuBarTest, PausedWithDueCommitmentsShowsTheCountEverywhere) {
    signIn(QStringLiteral("Ana"));
    makeMenuBar();
    grantBoth();
    attention = false;
    addDueCommitments(2);
    item("pause")->trigger();
    EXPECT_TRUE(app->settings.isPaused());
    EXPECT_EQ(MenuBarLabel::symbol(menuBar->labelState()), "pause.circle");
    EXPECT_EQ(MenuBarLabel::badge(menuBar->labelState()), "2");
    shootLabel(menuBar->labelState(), "tray-icon-paused-2-due");
    const QStringList texts = items();
    EXPECT_FALSE(texts.contains("Sign In…"));
    EXPECT_FALSE(texts.contains("Allow Permissions…"));
    EXPECT_TRUE(texts.contains("Memory (2 due)…"));
    EXPECT_TRUE(item("pause")->isChecked());
    EXPECT_EQ(item("memory")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));

    app->settings.setPaused(false);
    EXPECT_EQ(MenuBarLabel::symbol(menuBar->labelState()), "arrowshape.turn.up.left");
    shootLabel(menuBar->labelState(), "tray-icon-ready-2-due");

    // A long overdue list shows its whole count, as the Memory item does.
    addDueCommitments(118);
    EXPECT_EQ(MenuBarLabel::badge(menuBar->labelState()), "120");
    EXPECT_TRUE(items().contains("Memory (120 due)…"));
    shootLabel(menuBar->labelState(), "tray-icon-ready-120-due");
}

TEST_F(MenuBarTest, CopyLastDraftAppearsWithADraftAndIsNotTakenForTheUsersCopy) {
    EXPECT_FALSE(items().contains("Copy Last Draft"));
    draft = QStringLiteral("Thanks, Ana. Friday works.");
    EXPECT_TRUE(items().contains("Copy Last Draft"));
    item("copyLastDraft")->trigger();
    const std::optional<PasteboardContents> copied = QCoro::waitFor(platform.pasteboard->read(PasteboardForms::all)).contents;
    ASSERT_TRUE(copied.has_value());
    EXPECT_EQ(copied->plainText, draft);
    // Our own copy is never offered back as something the user copied.
    EXPECT_FALSE(QCoro::waitFor(app->contextPacker.pack(std::nullopt, std::nullopt)).has_value());
}

TEST_F(MenuBarTest, TheDebugWindowItemFollowsTheSetting) {
    EXPECT_EQ(item("debugWindow"), nullptr);
    app->settings.setShowsDraftDetails(true);
    items();
    ASSERT_NE(item("debugWindow"), nullptr);
    EXPECT_EQ(item("debugWindow")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D));
    item("debugWindow")->trigger();
    EXPECT_TRUE(windows->draftDetailsWindow()->isVisible());
}

TEST_F(MenuBarTest, CheckingForUpdatesStartsTheUpdaterOnce) {
    item("checkForUpdates")->trigger();
    items();
    item("checkForUpdates")->trigger();
    EXPECT_EQ(calls.made, 1);
    // The first check starts the updater, whose own background check comes before the one the user sees.
    EXPECT_EQ(calls.checks, (QStringList{"background", "user", "user"}));
    EXPECT_TRUE(log->contains("Update feed none"));

    UpdateController underTests([this] { ++calls.made; return std::make_unique<FakeUpdater>(calls); }, false);
    underTests.checkForUpdates();
    EXPECT_EQ(calls.made, 1) << "a disabled controller never makes an updater";
}

TEST_F(MenuBarTest, StartingLogsTheFeedAddressAsWrittenAndTheUpdatersFindings) {
    calls.feed = QUrl(QStringLiteral("https://updates.example.org/lumeno/app%20cast.xml?channel=stable"));
    updates.start();
    updates.start();
    EXPECT_TRUE(log->contains("Update feed https://updates.example.org/lumeno/app%20cast.xml?channel=stable"));
    EXPECT_EQ(calls.made, 1);
    EXPECT_EQ(calls.checks, QStringList{"background"}) << "a second start neither makes nor checks again";

    updates.updater()->onFoundUpdate(QStringLiteral("1.2"), QStringLiteral("120"));
    updates.updater()->onNoUpdate();
    EXPECT_TRUE(log->contains("Update available: 1.2 (120)"));
    EXPECT_TRUE(log->contains("No update in the feed"));
}

// A check that finds an update adds an item that shows it; skipping or installing takes it away.
TEST_F(MenuBarTest, AnUpdateFoundIsOfferedInTheMenuUntilWithdrawn) {
    updates.onOffer = [this](const UpdateOffer& offer) { menuBar->offerUpdate(offer); };
    updates.onOfferWithdrawn = [this] { menuBar->withdrawUpdateOffer(); };
    updates.start();
    updates.updater()->onOffer({QStringLiteral("1.1"), {}, true});
    const QStringList offered = items();
    EXPECT_EQ(offered.indexOf("Update to Lumeno 1.1…") + 1, offered.indexOf("Check for Updates…"));
    item("updateOffer")->trigger();
    EXPECT_EQ(calls.checks, (QStringList{"background", "offer shown"}));
    updates.updater()->onOfferWithdrawn();
    items();
    EXPECT_EQ(item("updateOffer"), nullptr);

    // Found by the user's own check, the offer stays in the menu when its window is put away.
    updates.updater()->onOffer({QStringLiteral("1.2"), {}, false});
    EXPECT_TRUE(items().contains("Update to Lumeno 1.2…"));
}

// Where this copy cannot install the update itself, neither the menu nor the notification promises it.
TEST_F(MenuBarTest, AnOfferThisCopyCannotInstallPromisesNoInstall) {
    const UpdateOffer installable{QStringLiteral("1.1"), {}, true};
    EXPECT_EQ(installable.menuItemText(), "Update to Lumeno 1.1…");
    EXPECT_EQ(installable.notificationText(), "Click here, or choose “Update to Lumeno 1.1…” in the Lumeno menu, to install it.");
    const UpdateOffer packaged{QStringLiteral("1.1"), QStringLiteral("Your system's package manager updates Lumeno."), true};
    EXPECT_EQ(packaged.menuItemText(), "Lumeno 1.1 Is Available…");
    EXPECT_EQ(packaged.notificationTitle(), "Lumeno 1.1 is available");
    EXPECT_EQ(packaged.notificationText(), "Your system's package manager updates Lumeno.");
    menuBar->offerUpdate(packaged);
    EXPECT_TRUE(items().contains("Lumeno 1.1 Is Available…"));
    EXPECT_FALSE(items().join(' ').contains("Update to"));
}

// The tray's notification of an update, clicked, shows the offer; with nothing on offer a click does nothing,
// unless the note told of an update that failed while its window was closed: that one shows the window, once.
TEST_F(MenuBarTest, ClickingTheNotificationShowsTheOffer) {
    static_cast<FakeTrayWatch&>(*platform.trayWatch).setTrayManager(false);
    static_cast<FakeTrayWatch&>(*platform.trayWatch).setNotifierHost(true);
    menuBar->start();
    auto* tray = menuBar->findChild<QSystemTrayIcon*>();
    ASSERT_NE(tray, nullptr);
    updates.start();
    emit tray->messageClicked();
    EXPECT_EQ(calls.checks, QStringList{"background"});
    menuBar->offerUpdate({QStringLiteral("1.1"), {}, true});
    emit tray->messageClicked();
    EXPECT_EQ(calls.checks, (QStringList{"background", "offer shown"}));

    menuBar->withdrawUpdateOffer();
    menuBar->noteUpdateProblem(QStringLiteral("The update couldn't be downloaded."),
                               QStringLiteral("The download was interrupted."));
    emit tray->messageClicked();
    emit tray->messageClicked();
    EXPECT_EQ(calls.checks, (QStringList{"background", "offer shown", "offer shown"}));
}

// In a tray manager the icon is our own, and so is its note: it says what was found, goes after a while,
// and clicked, shows the offer.
TEST_F(MenuBarTest, TheNoteAtAnIconInATrayManagerShowsTheOfferWhenClicked) {
    static_cast<FakeTrayWatch&>(*platform.trayWatch).setTrayManager(true);
    static_cast<FakeTrayWatch&>(*platform.trayWatch).setNotifierHost(false);
    menuBar->start();
    updates.start();
    const auto topLevel = [](const QString& name) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == name)
                return window;
        return static_cast<QWidget*>(nullptr);
    };
    const auto note = [&] { return topLevel(QStringLiteral("trayNote")); };
    menuBar->offerUpdate({QStringLiteral("1.1"), {}, true});
    ASSERT_NE(note(), nullptr);
    EXPECT_TRUE(note()->isVisible());
    EXPECT_EQ(note()->accessibleName(), "Lumeno 1.1 is available");
    scheduler.advance(TrayNote::shownSeconds);
    EXPECT_FALSE(note()->isVisible()) << "the note goes by itself";

    menuBar->offerUpdate({QStringLiteral("1.1"), {}, true});
    ASSERT_TRUE(note()->isVisible());
    QTest::mouseClick(note(), Qt::LeftButton);
    EXPECT_FALSE(note()->isVisible());
    EXPECT_EQ(calls.checks, (QStringList{"background", "offer shown"}));

    // Opening the menu at the icon puts a note away: it would cover the menu.
    menuBar->offerUpdate({QStringLiteral("1.1"), {}, true});
    ASSERT_TRUE(note()->isVisible());
    QWidget* icon = topLevel(QStringLiteral("QSystemTrayIconSys"));
    ASSERT_NE(icon, nullptr);
    QTest::mouseClick(icon, Qt::LeftButton);
    EXPECT_FALSE(note()->isVisible());
    menuBar->menu().close();
}

TEST_F(MenuBarTest, SettingsAndQuitItemsReachTheirTargets) {
    QSignalSpy quit(menuBar.get(), &MenuBar::quitRequested);
    items();
    EXPECT_EQ(item("settings")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    item("settings")->trigger();
    EXPECT_TRUE(windows->settingsWindow()->isVisible());
    item("quit")->trigger();
    EXPECT_EQ(quit.count(), 1);
}

} // namespace
} // namespace lumeno
