// The tray menu stays within reach: the icon follows the tray as it comes and goes, the settings window
// carries the menu while there is none, and the menu's shortcuts work in the open menu and in every window.
#include "AppFixture.h"

#include "details/DraftDetailsWindow.h"
#include "memory/ui/MemoryWindow.h"
#include "platform/fake/FakeAccessibilityTrust.h"
#include "platform/fake/FakeMicrophoneAuthorizer.h"
#include "platform/fake/FakeTrayWatch.h"
#include "shell/HowToPanel.h"
#include "shell/MenuBar.h"
#include "shell/SettingsWindow.h"
#include "shell/ShortcutRecorder.h"
#include "support/Log.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

namespace lumeno {
namespace {

class MenuReachTest : public AppFixture {
protected:
    MenuReachTest() {
        previousSink = Log::setSink(log);
        build();
    }
    ~MenuReachTest() override { Log::setSink(previousSink); }

    FakeTrayWatch& tray() { return static_cast<FakeTrayWatch&>(*platform.trayWatch); }
    MenuBar& menu() { return shell->menu(); }
    // The icon's own window, which tray managers take in.
    static QWidget* embeddedIcon() {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QStringLiteral("QSystemTrayIconSys"))
                return window;
        return nullptr;
    }
    QMenuBar* carriedMenu() {
        return windows->settingsWindow() ? windows->settingsWindow()->findChild<QMenuBar*>(QStringLiteral("settingsMenuBar"))
                                         : nullptr;
    }

    std::shared_ptr<CapturingLogSink> log = std::make_shared<CapturingLogSink>();
    std::shared_ptr<LogSink> previousSink;
};

TEST_F(MenuReachTest, WithoutATrayTheSettingsWindowCarriesTheMenuUntilOneComesAndAgainWhenItGoes) {
    tray().setNotifierHost(std::nullopt);
    shell->start();
    EXPECT_EQ(windows->settingsWindow(), nullptr) << "still finding out whether there is a tray: no window yet";

    tray().setNotifierHost(false);
    SettingsWindow* settings = windows->settingsWindow();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isVisible());
    QMenuBar* bar = carriedMenu();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(isShown(bar));
    ASSERT_EQ(bar->actions().size(), 1);
    EXPECT_EQ(bar->actions().front()->menu(), &menu().menu()) << "the tray's own menu, not a copy";
    EXPECT_EQ(bar->actions().front()->text(), QStringLiteral("Lumeno"));
    auto* status = bar->findChild<QLabel*>(QStringLiteral("settingsStatusLine"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(), QStringLiteral("Sign in to reply"));
    EXPECT_EQ(bar->cornerWidget(Qt::TopRightCorner), status) << "the status line stands at the bar's right end";
    const int carrying = settings->height();
    shoot(*settings, QStringLiteral("settings-carrying-the-menu"));

    // The status line follows the program's state.
    app->settings.setPaused(true);
    signIn(QStringLiteral("Ana")); // a new run, signed in and paused
    shell->start();
    settings = windows->settingsWindow();
    ASSERT_NE(settings, nullptr);
    bar = carriedMenu();
    status = bar->findChild<QLabel*>(QStringLiteral("settingsStatusLine"));
    EXPECT_EQ(status->text(), QStringLiteral("Paused"));
    app->settings.setPaused(false);
    EXPECT_NE(status->text(), QStringLiteral("Paused"));
    QCoreApplication::sendPostedEvents();
    EXPECT_GE(status->width(), status->sizeHint().width()) << "the longer status line is cut";

    tray().setTrayManager(true);
    EXPECT_TRUE(menu().isDocked());
    EXPECT_FALSE(isShown(bar));
    EXPECT_EQ(settings->height(), carrying - bar->sizeHint().height()) << "the window lets go of the bar's room";

    tray().setTrayManager(false);
    EXPECT_FALSE(isShown(bar)) << "a tray that went has a moment to come back";
    scheduler.advance(MenuBar::trayReturnSeconds);
    EXPECT_FALSE(menu().isDocked());
    EXPECT_TRUE(isShown(bar));
    EXPECT_EQ(settings->height(), carrying);
    EXPECT_TRUE(log->contains(QStringLiteral("The tray went away; the settings window carries the menu until one is back")));
}

TEST_F(MenuReachTest, ATrayThatGoesWhileNoWindowIsOpenBringsUpSettingsCarryingTheMenu) {
    tray().setTrayManager(true);
    shell->start();
    EXPECT_TRUE(menu().isDocked());
    windows->showMemory();
    tray().setTrayManager(false);
    scheduler.advance(MenuBar::trayReturnSeconds);
    EXPECT_EQ(windows->settingsWindow(), nullptr) << "a window of the program is open: it carries the shortcuts";
    tray().setTrayManager(true);

    windows->memoryWindow()->close();
    tray().setTrayManager(false);
    scheduler.advance(MenuBar::trayReturnSeconds);
    ASSERT_NE(windows->settingsWindow(), nullptr) << "nothing of the program would be left on the screen";
    EXPECT_TRUE(windows->settingsWindow()->isVisible());
    EXPECT_TRUE(isShown(carriedMenu()));
    EXPECT_FALSE(log->contains(QStringLiteral("This desktop has no tray; showing the settings window instead")));
}

TEST_F(MenuReachTest, APanelThatRestartsWithinAMomentBringsUpNoWindowAndLeavesOpenOnesAsTheyWere) {
    tray().setNotifierHost(true);
    tray().setTrayManager(true);
    shell->start();
    QSignalSpy docking(&menu(), &MenuBar::dockedChanged);

    // The panel restarts: both kinds of tray go and come back a little later.
    tray().setNotifierHost(false);
    tray().setTrayManager(false);
    scheduler.advance(MenuBar::trayReturnSeconds - 0.5);
    EXPECT_EQ(windows->settingsWindow(), nullptr);
    EXPECT_TRUE(menu().isDocked());
    tray().setTrayManager(true);
    tray().setNotifierHost(true);
    scheduler.advance(MenuBar::trayReturnSeconds * 2);
    EXPECT_EQ(windows->settingsWindow(), nullptr) << "the tray came back in time";
    EXPECT_EQ(docking.count(), 0);

    // With Settings open, a restart leaves it as it was: no menu bar comes and goes in it.
    windows->showSettings();
    SettingsWindow* settings = windows->settingsWindow();
    const QRect frame = settings->geometry();
    tray().setNotifierHost(false);
    tray().setTrayManager(false);
    scheduler.advance(1);
    tray().setNotifierHost(true);
    scheduler.advance(MenuBar::trayReturnSeconds * 2);
    EXPECT_FALSE(isShown(carriedMenu()));
    EXPECT_EQ(settings->geometry(), frame);
    EXPECT_EQ(docking.count(), 0);

    // A tray that stays away: the moment counts from when the last one went (a watcher restarting with no
    // host meanwhile does not start it again), and then the open window carries the menu. Each time the
    // tray goes again, it has the same moment.
    tray().setTrayManager(true);
    tray().setNotifierHost(false);
    for (int away = 1; away <= 2; ++away) {
        tray().setTrayManager(false);
        scheduler.advance(3);
        tray().replace(TrayWatch::Kind::notifierHost);
        scheduler.advance(MenuBar::trayReturnSeconds - 3.5);
        EXPECT_FALSE(isShown(carriedMenu()));
        scheduler.advance(0.5);
        EXPECT_TRUE(isShown(carriedMenu()));
        EXPECT_EQ(docking.count(), 2 * away - 1);
        tray().setTrayManager(true);
        EXPECT_FALSE(isShown(carriedMenu()));
    }
}

TEST_F(MenuReachTest, TheIconGoesToWhicheverKindOfTrayRunsAndDocksAgainInOneThatTakesItsPlace) {
    // A tray manager is on the screen at once; the session bus answers later. The icon waits for the answer:
    // made for the wrong kind, it would never show.
    tray().setTrayManager(true);
    tray().setNotifierHost(std::nullopt);
    shell->start();
    EXPECT_TRUE(tray().docked.empty());
    EXPECT_FALSE(menu().isDocked());
    tray().setNotifierHost(false);
    EXPECT_TRUE(menu().isDocked());
    ASSERT_EQ(tray().docked.size(), 1u);
    ASSERT_NE(embeddedIcon(), nullptr);
    EXPECT_EQ(tray().docked.front(), embeddedIcon()->winId());
    EXPECT_TRUE(embeddedIcon()->isVisible());

    // Another tray manager takes the selection: the icon is handed to it.
    tray().replace(TrayWatch::Kind::trayManager);
    ASSERT_EQ(tray().docked.size(), 2u);
    EXPECT_EQ(tray().docked.back(), embeddedIcon()->winId());
    // A tray that ends puts the window it held back on the screen, which Qt does not know: the icon comes
    // to the next one in a window of its own.
    EXPECT_NE(tray().docked.back(), tray().docked.front());
    EXPECT_TRUE(embeddedIcon()->isVisible());
    // A status-notifier host coming and going does not move an icon that a tray manager shows.
    tray().replace(TrayWatch::Kind::notifierHost);
    EXPECT_EQ(tray().docked.size(), 2u);

    // Both kinds at once (XFCE's panel): the host takes it; only the host left: it keeps it.
    QSignalSpy docking(&menu(), &MenuBar::dockedChanged);
    tray().setNotifierHost(true);
    tray().setTrayManager(false);
    EXPECT_TRUE(menu().isDocked());
    EXPECT_EQ(docking.count(), 0) << "the icon never left a tray";
    EXPECT_FALSE(embeddedIcon()->isVisible()) << "the icon shows in the host, not twice";
    windows->showSettings();
    EXPECT_FALSE(isShown(carriedMenu()));

    // The host goes: nothing shows the icon. A tray manager comes: it docks there again.
    tray().setNotifierHost(false);
    scheduler.advance(MenuBar::trayReturnSeconds);
    EXPECT_FALSE(menu().isDocked());
    EXPECT_TRUE(isShown(carriedMenu()));
    tray().setTrayManager(true);
    EXPECT_TRUE(menu().isDocked());
    EXPECT_EQ(tray().docked.size(), 3u);
    EXPECT_FALSE(isShown(carriedMenu()));
}

TEST_F(MenuReachTest, AStatusNotifierHostGetsACopyOfTheMenuWithoutShortcutsThatActsLikeIt) {
    tray().setNotifierHost(true);
    shell->start();
    EXPECT_TRUE(menu().isDocked());
    QMenu* copy = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QStringLiteral("hostMenu"))
            copy = qobject_cast<QMenu*>(window);
    ASSERT_NE(copy, nullptr);

    // Filled again as the host opens it: the items of the menu as it stands, in order, with no shortcut.
    app->settings.setShowsDraftDetails(true);
    emit copy->aboutToShow();
    QStringList own, copied;
    for (const QAction* item : menu().menu().actions())
        own << item->text();
    for (const QAction* item : copy->actions()) {
        copied << item->text();
        EXPECT_TRUE(item->shortcut().isEmpty()) << item->text().toStdString();
    }
    EXPECT_EQ(copied, own);
    EXPECT_TRUE(own.contains(QStringLiteral("Debug Window…")));
    EXPECT_FALSE(menu().menu().actions().at(own.indexOf(QStringLiteral("Memory…")))->shortcut().isEmpty())
        << "the program's own menu keeps its shortcuts";

    // Its items do what the menu's do.
    // Chosen once found: what it does may fill the copy again, deleting the items it held.
    auto choose = [&](const QString& text) {
        QAction* chosen = nullptr;
        for (QAction* item : copy->actions())
            if (item->text() == text)
                chosen = item;
        ASSERT_NE(chosen, nullptr) << text.toStdString();
        chosen->trigger();
    };
    EXPECT_FALSE(copy->actions().front()->isEnabled()) << "the status line is no button";
    choose(QStringLiteral("Pause"));
    EXPECT_TRUE(app->settings.isPaused());
    emit copy->aboutToShow();
    const QAction* pause = copy->actions().at(copied.indexOf(QStringLiteral("Pause")));
    EXPECT_TRUE(pause->isCheckable() && pause->isChecked()) << "the host shows Pause ticked";
    choose(QStringLiteral("Memory…"));
    ASSERT_NE(windows->memoryWindow(), nullptr);
    EXPECT_TRUE(windows->memoryWindow()->isVisible());
}

TEST_F(MenuReachTest, TheHostsCopyFollowsTheStateBeforeTheHostOpensIt) {
    tray().setNotifierHost(true);
    shell->start();
    QMenu* copy = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QStringLiteral("hostMenu"))
            copy = qobject_cast<QMenu*>(window);
    ASSERT_NE(copy, nullptr);
    auto texts = [&] {
        QStringList seen;
        for (const QAction* item : copy->actions())
            seen << item->text();
        return seen;
    };
    // The host reads the items first and opens the menu at their size: no item may come or go after.
    static_cast<FakeMicrophoneAuthorizer&>(*platform.microphone).change(AuthorizationStatus::granted);
    static_cast<FakeAccessibilityTrust&>(*platform.accessibilityTrust).setTrusted(true);
    app->permissions.refresh();
    EXPECT_FALSE(texts().contains(QStringLiteral("Allow Permissions…")));
    app->settings.setShowsDraftDetails(true);
    EXPECT_TRUE(texts().contains(QStringLiteral("Debug Window…")));
    const QStringList read = texts();
    emit copy->aboutToShow();
    EXPECT_EQ(texts(), read);
}

TEST_F(MenuReachTest, TheMenusShortcutsActInEveryWindowAndInTheOpenMenuForItemsThatShow) {
    tray().setTrayManager(true);
    shell->start();
    QSignalSpy quits(&menu(), &MenuBar::quitRequested);
    windows->showMemory();
    MemoryWindow* memory = windows->memoryWindow();

    QTest::keyClick(memory, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(windows->draftDetailsWindow(), nullptr) << "no Debug item, no shortcut";
    QTest::keyClick(memory, Qt::Key_Comma, Qt::ControlModifier);
    ASSERT_NE(windows->settingsWindow(), nullptr);
    EXPECT_TRUE(windows->settingsWindow()->isVisible());

    app->settings.setShowsDraftDetails(true);
    QTest::keyClick(windows->settingsWindow(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(windows->draftDetailsWindow(), nullptr);
    EXPECT_TRUE(windows->draftDetailsWindow()->isVisible());

    // The hot-key picker records the keys it is given, shortcuts or not.
    ShortcutRecorder recorder(*platform.keyboardLayout);
    recorder.start();
    QTest::keyClick(memory, Qt::Key_Q, Qt::ControlModifier);
    recorder.stop();
    EXPECT_EQ(quits.count(), 0);
    QTest::keyClick(windows->draftDetailsWindow(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits.count(), 1);

    // In the open menu: the item acts and the menu closes.
    memory->close();
    menu().menu().popup(QPoint(20, 20));
    ASSERT_TRUE(menu().menu().isVisible());
    QTest::keyClick(&menu().menu(), Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(memory->isVisible());
    EXPECT_FALSE(menu().menu().isVisible());
    QTest::keyClick(memory, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(quits.count(), 1) << "a key the menu does not show does nothing";
    menu().menu().popup(QPoint(20, 20));
    QTest::keyClick(&menu().menu(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quits.count(), 2);
    EXPECT_FALSE(menu().menu().isVisible()) << "the menu closes when its item acts";

    // Other keys, Ctrl or not, reach the field they are typed in.
    QLineEdit field;
    field.show();
    QTest::keyClicks(&field, QStringLiteral("ab"));
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(field.text(), QStringLiteral("ab"));
    EXPECT_EQ(field.selectedText(), QStringLiteral("ab"));
}

TEST_F(MenuReachTest, TheMenuInTheSettingsWindowActsOnlyOnItemsThatShowNow) {
    shell->start();
    SettingsWindow* settings = windows->settingsWindow();
    ASSERT_TRUE(isShown(carriedMenu()));
    // The menu was last filled while draft details were on; they are off now.
    app->settings.setShowsDraftDetails(true);
    menu().rebuildMenu();
    app->settings.setShowsDraftDetails(false);
    settings->activateWindow();
    QTest::keyClick(settings, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(windows->draftDetailsWindow(), nullptr);
    QTest::keyClick(settings, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(windows->memoryWindow(), nullptr);
    EXPECT_TRUE(windows->memoryWindow()->isVisible());
}

TEST_F(MenuReachTest, EscapeAndCtrlWCloseSettingsMemoryDebugAndHowToUse) {
    app->settings.setShowsDraftDetails(true);
    windows->showSettings();
    windows->showMemory();
    windows->showDraftDetails();
    windows->showHowToPopups();
    for (QWidget* window : std::initializer_list<QWidget*>{windows->settingsWindow(), windows->memoryWindow(),
                                                           windows->draftDetailsWindow(), windows->howToWindow()}) {
        SCOPED_TRACE(window->metaObject()->className());
        QTest::keyClick(window, Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible());
        window->show();
        QTest::keyClick(window, Qt::Key_W, Qt::ControlModifier);
        EXPECT_FALSE(window->isVisible());
    }
}

} // namespace
} // namespace lumeno
