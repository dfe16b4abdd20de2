#include "AppFixture.h"

#include "details/DraftDetailsWindow.h"
#include "memory/ui/MemoryWindow.h"
#include "platform/fake/FakeScreenInfo.h"
#include "shell/HowToPanel.h"
#include "shell/OnboardingView.h"
#include "shell/SettingsWindow.h"
#include "ui/ScreenFit.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <map>

namespace lumeno {
namespace {

class WindowManagerTest : public AppFixture {
protected:
    WindowManagerTest() { build(); }
};

TEST_F(WindowManagerTest, FirstRunAsksWhatIsMissingAndAlwaysSomething) {
    windows->showFirstRun();
    GuideSession& guide = windows->guideSession();
    EXPECT_TRUE(guide.asksSignIn());
    EXPECT_TRUE(guide.asksName());
    EXPECT_TRUE(guide.asksLanguage());
    EXPECT_TRUE(guide.isWelcome());
    EXPECT_EQ(guide.generation(), 1);
    QWidget* first = windows->guideWindow();
    EXPECT_EQ(first->windowTitle(), "Lumeno");
    EXPECT_EQ(first->width(), 440);
    const int askingEverything = first->height();

    signIn(QStringLiteral("Ana Novak"));
    app->settings.setHasChosenSpeechLanguage(true);
    app->settings.setHasSeenGuide(true);
    windows->showFirstRun();
    GuideSession& again = windows->guideSession();
    EXPECT_FALSE(again.asksSignIn());
    EXPECT_FALSE(again.asksName());
    EXPECT_TRUE(again.asksLanguage()) << "with nothing missing the guide still asks the language";
    EXPECT_FALSE(again.isWelcome());
    QCoreApplication::sendPostedEvents(); // the form settles as the window shows
    EXPECT_EQ(windows->guideWindow()->height(), static_cast<OnboardingView*>(windows->guideWindow())->fittingHeight());
    EXPECT_LT(windows->guideWindow()->height(), askingEverything) << "asking less, the window is shorter";
}

TEST_F(WindowManagerTest, ANameOfOnlySpacesAndTabsIsMissing) {
    signIn(QStringLiteral(" \t "));
    app->settings.setHasChosenSpeechLanguage(true);
    windows->showFirstRun();
    EXPECT_TRUE(windows->guideSession().asksName());
    EXPECT_FALSE(windows->guideSession().asksLanguage());
}

TEST_F(WindowManagerTest, ShowingTheGuideAgainReusesTheWindowWithAFreshGeneration) {
    windows->showFirstRun();
    QWidget* first = windows->guideWindow();
    QSignalSpy generations(&windows->guideSession(), &GuideSession::generationChanged);
    windows->showFirstRun();
    EXPECT_EQ(windows->guideWindow(), first);
    EXPECT_EQ(generations.count(), 1);
    EXPECT_EQ(windows->guideSession().generation(), 2);
}

TEST_F(WindowManagerTest, ClosingTheGuideCountsAsSeenOnlyWhenSignedIn) {
    windows->showFirstRun();
    windows->guideWindow()->close();
    EXPECT_FALSE(windows->guideWindow()->isVisible());
    EXPECT_FALSE(app->settings.hasSeenGuide());
    EXPECT_FALSE(app->settings.hasCompletedSetup());

    signIn(QStringLiteral("Ana"));
    windows->showFirstRun();
    QWidget* guide = windows->guideWindow();
    guide->close();
    EXPECT_EQ(windows->guideWindow(), guide) << "closing only hides the guide";
    EXPECT_TRUE(app->settings.hasSeenGuide());
    EXPECT_TRUE(app->settings.hasCompletedSetup());
}

TEST(SettingsWindowTest, AShortFormGrowsAndShrinksWithItsRows) {
    QLabel* later = nullptr;
    FakeScreenInfo screens;
    SettingsWindow settings([&](SettingsTab tab) {
        auto* page = new QWidget;
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(new QLabel(QStringLiteral("A row")));
        if (tab == SettingsTab::more) {
            later = new QLabel(QStringLiteral("A row that comes and goes\nover two lines"));
            later->hide();
            layout->addWidget(later);
        }
        layout->addStretch(1);
        return page;
    }, screens);
    settings.select(SettingsTab::more);
    settings.show();
    QCoreApplication::sendPostedEvents();
    const int short_ = settings.height();
    later->show();
    QCoreApplication::sendPostedEvents();
    EXPECT_GE(settings.height(), short_ + later->sizeHint().height());
    EXPECT_EQ(settings.page(SettingsTab::more)->height(), settings.page(SettingsTab::more)->sizeHint().height());
    later->hide();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(settings.height(), short_);
    settings.select(SettingsTab::account);
    EXPECT_EQ(settings.page(SettingsTab::account)->size(), QSize(560, 640)) << "the other tabs keep their size";
}

TEST(SettingsWindowTest, EachSelectedTabsBoldLabelStaysOnItsHighlight) {
    FakeScreenInfo screens;
    SettingsWindow settings([](SettingsTab) { return new QWidget; }, screens);
    settings.show();
    for (SettingsTab tab : allSettingsTabs) {
        settings.select(tab);
        auto* button = settings.findChild<QToolButton*>(rawValue(tab) + QStringLiteral("Tab"));
        ASSERT_TRUE(button);
        const QImage picture = button->grab().toImage();
        const QColor ink = button->palette().color(QPalette::Highlight);
        // The label's row, under the symbol: where its accent ink reaches, left and right.
        int left = picture.width(), right = -1;
        for (int y = int(30 * picture.devicePixelRatio()); y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QColor pixel = picture.pixelColor(x, y);
                if (std::abs(pixel.red() - ink.red()) + std::abs(pixel.green() - ink.green()) +
                        std::abs(pixel.blue() - ink.blue()) < 90) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        ASSERT_GE(right, 0) << SettingsWindow::title(tab).toStdString() << ": no label drawn";
        const qreal plateInset = 4 * picture.devicePixelRatio(); // the plate is inset 2, its corner rounds
        EXPECT_GE(left, plateInset) << SettingsWindow::title(tab).toStdString();
        EXPECT_LE(right, picture.width() - 1 - plateInset) << SettingsWindow::title(tab).toStdString();
        if (tab == SettingsTab::permissions)
            screenshots::save(screenshots::onDesktop(*settings.findChild<QWidget*>("settingsToolbar"), 8),
                              "settings-toolbar-permissions-selected");
    }
}

// A page of a line at its top, which could be squeezed to that line.
QWidget* fullPage(SettingsTab) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("A row")));
    layout->addStretch(1);
    return page;
}

TEST(SettingsWindowTest, ATabThatGrowsPastTheScreensEdgeMovesTheWindowBackOntoIt) {
    FakeScreenInfo screens;
    screens.screenList = {{QRect(0, 0, 1280, 800), QRect(0, 0, 1280, 800)},
                          {QRect(1280, 0, 1024, 768), QRect(1280, 24, 1024, 744)}};
    SettingsWindow settings(fullPage, screens);
    settings.move(1280 + 700, 400); // General, on the second screen, low and to the right
    settings.show();
    settings.select(SettingsTab::account);
    const QRect frame = settings.frameGeometry();
    EXPECT_TRUE(screens.screenList[1].visibleFrame.contains(frame)) << frame.x() << "," << frame.y() << " "
                                                                    << frame.width() << "×" << frame.height();
    EXPECT_EQ(settings.size(), QSize(560, 640 + 57)) << "it fits: the tab keeps its size";
    EXPECT_EQ(settings.page(SettingsTab::account)->height(), 640);

    // Opened again on a tab chosen while it was away, on a screen with a bar across its top.
    screens.screenList = {{QRect(0, 0, 800, 600), QRect(0, 100, 800, 500)}};
    settings.hide();
    settings.select(SettingsTab::general);
    settings.move(0, 0);
    settings.select(SettingsTab::account);
    settings.show();
    EXPECT_TRUE(screens.screenList[0].visibleFrame.contains(settings.frameGeometry()))
        << settings.frameGeometry().y() << " " << settings.frameGeometry().height();
}

TEST(ScreenFitTest, TwoWindowsSideBySideAreCentredAsAPairAndOverlapOnlyWhenTheScreenIsTooNarrow) {
    FakeScreenInfo screens;
    screens.screenList = {{QRect(0, 0, 1280, 800), QRect(0, 30, 1280, 770)}};
    QWidget left, right;
    left.setFixedSize(400, 486);
    right.setFixedSize(440, 330);
    ScreenFit::placeSideBySide(left, right, screens);
    left.show();
    right.show();
    const QRect leftFrame = left.frameGeometry(), rightFrame = right.frameGeometry();
    EXPECT_FALSE(leftFrame.intersects(rightFrame));
    EXPECT_LT(leftFrame.right(), rightFrame.left());
    EXPECT_EQ(leftFrame.top(), rightFrame.top());
    EXPECT_LE(std::abs(leftFrame.left() - (1279 - rightFrame.right())), 8) << "the pair is centred, give or take a frame";
    EXPECT_LE(std::abs((leftFrame.top() - 30) - (799 - leftFrame.bottom())), 32)
        << "the taller one centred from top to bottom, give or take a title bar before it is known";
    EXPECT_TRUE(screens.screenList[0].visibleFrame.contains(leftFrame.united(rightFrame)));

    // 800 wide holds only one of them: each at its own edge, the right one over the left.
    screens.screenList = {{QRect(0, 0, 800, 600), QRect(0, 0, 800, 600)}};
    ScreenFit::placeSideBySide(left, right, screens);
    EXPECT_EQ(left.frameGeometry().left(), 0);
    EXPECT_EQ(right.frameGeometry().right(), 799);
    EXPECT_LT(left.frameGeometry().left(), right.frameGeometry().left());
}

TEST(SettingsWindowTest, ATabTallerThanTheScreenScrollsAndTheOthersDoNot) {
    FakeScreenInfo screens;
    screens.screenList = {{QRect(0, 0, 1024, 600), QRect(0, 30, 1024, 570)}};
    SettingsWindow settings(fullPage, screens);
    settings.show();
    settings.select(SettingsTab::account);
    const QSize room = ScreenFit::room(settings, screens);
    EXPECT_EQ(settings.height(), room.height());
    EXPECT_TRUE(QRect(0, 30, 1024, 570).contains(settings.frameGeometry()));
    QWidget* account = settings.page(SettingsTab::account);
    auto* scroller = qobject_cast<QScrollArea*>(account->parentWidget()->parentWidget());
    ASSERT_NE(scroller, nullptr);
    EXPECT_TRUE(scroller->verticalScrollBar()->isVisible());
    EXPECT_EQ(account->size(), QSize(560, 640)) << "the page keeps its size and scrolls";
    scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
    EXPECT_EQ(account->mapTo(scroller->viewport(), QPoint(0, 640)).y(), scroller->viewport()->height())
        << "its bottom can be scrolled into view";

    settings.select(SettingsTab::permissions);
    EXPECT_EQ(settings.size(), QSize(520, 230 + 57));
    EXPECT_FALSE(qobject_cast<QScrollArea*>(settings.page(SettingsTab::permissions)->parentWidget()->parentWidget())
                     ->verticalScrollBar()
                     ->isVisible());
}

TEST_F(WindowManagerTest, SettingsOpenOnTheAskedTabAtItsSizeAndKeepItAfterwards) {
    windows->showSettings(SettingsTab::more);
    SettingsWindow* settings = windows->settingsWindow();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->currentTab(), SettingsTab::more);
    EXPECT_EQ(settings->windowTitle(), "Lumeno Settings — More") << "the taskbar names the program, then the tab";
    const QSize moreSize = settings->size();

    windows->showSettings(SettingsTab::permissions);
    EXPECT_LT(settings->height(), moreSize.height()) << "a short tab gets a short window";
    windows->showSettings();
    EXPECT_EQ(windows->settingsWindow(), settings);
    EXPECT_EQ(settings->currentTab(), SettingsTab::permissions);

    // The toolbar lists the tabs in their fixed order, and clicking one switches to it.
    const QStringList order = {"generalTab", "accountTab", "moreTab", "styleTab", "permissionsTab"};
    QList<QWidget*> tabs;
    for (const QString& name : order)
        tabs.push_back(child<QWidget>(*settings, name));
    for (int i = 1; i < tabs.size(); ++i)
        EXPECT_LT(tabs[i - 1]->x(), tabs[i]->x());
    const std::map<SettingsTab, QSize> sizes = {{SettingsTab::general, {520, 220}},
                                                {SettingsTab::account, {560, 640}},
                                                {SettingsTab::more, {520, 520}},
                                                {SettingsTab::style, {580, 560}},
                                                {SettingsTab::permissions, {520, 230}}};
    for (SettingsTab tab : allSettingsTabs) {
        QTest::mouseClick(child<QWidget>(*settings, rawValue(tab) + "Tab"), Qt::LeftButton);
        EXPECT_EQ(settings->currentTab(), tab);
        const QSize page = settings->page(tab)->size();
        if (tab == SettingsTab::general || tab == SettingsTab::more) {
            // Short forms: the tab's width, and no taller than their controls need here.
            EXPECT_EQ(page.width(), sizes.at(tab).width()) << rawValue(tab).toStdString();
            EXPECT_LE(page.height(), sizes.at(tab).height()) << rawValue(tab).toStdString();
            EXPECT_EQ(page.height(), settings->page(tab)->sizeHint().height()) << rawValue(tab).toStdString();
        } else {
            EXPECT_EQ(page, sizes.at(tab)) << rawValue(tab).toStdString();
        }
        shoot(*settings, "settings-window-" + rawValue(tab));
    }
}

TEST_F(WindowManagerTest, TurningTheDebugWindowOffForgetsTheRecordsAndOnOpensIt) {
    windows->showSettings(SettingsTab::more);
    QWidget* more = windows->settingsWindow()->page(SettingsTab::more);
    child<QCheckBox>(*more, "showsDraftDetails")->click();
    EXPECT_TRUE(app->settings.showsDraftDetails());
    ASSERT_NE(windows->draftDetailsWindow(), nullptr);
    EXPECT_TRUE(windows->draftDetailsWindow()->isVisible());

    child<QCheckBox>(*more, "savesDraftDetails")->click();
    app->draftDetails.record(DraftDetails::started(DraftDetails::Kind::reply, clock), true);
    app->draftDetails.finishDiskWork();
    ASSERT_TRUE(QFile::exists(app->draftDetails.filePath()));

    child<QCheckBox>(*more, "showsDraftDetails")->click();
    EXPECT_FALSE(app->settings.showsDraftDetails());
    EXPECT_FALSE(app->settings.savesDraftDetails());
    app->draftDetails.finishDiskWork();
    EXPECT_FALSE(QFile::exists(app->draftDetails.filePath()));
    EXPECT_TRUE(app->draftDetails.sessions().isEmpty());
}

TEST_F(WindowManagerTest, WindowsAreBuiltOnceAndShownAgain) {
    windows->showSetup();
    QWidget* setup = windows->setupWindow();
    EXPECT_EQ(setup->windowTitle(), "Allow Lumeno");
    QTest::mouseClick(child<QPushButton>(*setup, "done"), Qt::LeftButton);
    EXPECT_FALSE(setup->isVisible());
    windows->showSetup();
    EXPECT_EQ(windows->setupWindow(), setup);
    EXPECT_TRUE(setup->isVisible());

    windows->showMemory();
    MemoryWindow* memory = windows->memoryWindow();
    memory->close();
    windows->showMemory();
    EXPECT_EQ(windows->memoryWindow(), memory);
    EXPECT_TRUE(memory->isVisible());
}

TEST_F(WindowManagerTest, FixedSizeWindowsCanBeClosedButNotMinimisedOrZoomed) {
    windows->showFirstRun();
    windows->showSetup();
    windows->showSettings();
    EXPECT_EQ(windows->setupWindow()->size(), QSize(440, 330));
    for (QWidget* window : {windows->guideWindow(), windows->setupWindow(),
                            static_cast<QWidget*>(windows->settingsWindow())}) {
        const Qt::WindowFlags flags = window->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint)) << window->windowTitle().toStdString();
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint)) << window->windowTitle().toStdString();
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint)) << window->windowTitle().toStdString();
        EXPECT_TRUE(window->isVisible());
    }
}

TEST_F(WindowManagerTest, TheDebugWindowsSettingsButtonOpensTheGeneralTab) {
    windows->showSettings(SettingsTab::style);
    windows->showDraftDetails();
    EXPECT_EQ(windows->draftDetailsWindow()->windowTitle(), "Lumeno Debug");
    EXPECT_EQ(windows->draftDetailsWindow()->size(), QSize(820, 620));
    EXPECT_EQ(windows->draftDetailsWindow()->minimumSize(), QSize(700, 460));
    QTest::mouseClick(child<QPushButton>(*windows->draftDetailsWindow(), "openSettings"), Qt::LeftButton);
    EXPECT_TRUE(windows->settingsWindow()->isVisible());
    EXPECT_EQ(windows->settingsWindow()->currentTab(), SettingsTab::general);
}

TEST_F(WindowManagerTest, FinishingTheGuidePutsAwayGuideAndSetup) {
    windows->showFirstRun();
    windows->showSetup();
    windows->putAwayFirstRun();
    EXPECT_FALSE(windows->guideWindow()->isVisible());
    EXPECT_FALSE(windows->setupWindow()->isVisible());
}

// --- The how-to panel ---------------------------------------------------------------------------------------

class HowToPanelTest : public WindowManagerTest {
protected:
    HowToPanel& open() {
        windows->showHowToPopups();
        HowToPanel* panel = windows->howToWindow();
        EXPECT_NE(panel, nullptr);
        return *panel;
    }
    QPushButton& nextButton(HowToPanel& panel) { return *child<QPushButton>(panel, "nextButton"); }
};

TEST_F(HowToPanelTest, OpensCentredAtItsSizeAsAnOrdinaryWindowWithOnlyAClosingButton) {
    app->settings.setHotkey(Hotkey::modifier(ModifierKey::rightOption));
    HowToPanel& panel = open();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.size(), QSize(400, 486));
    // Centred as a whole; the window frame may shift the content by a pixel or two.
    const QPoint offCentre = panel.geometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 6);
    const Qt::WindowFlags flags = panel.windowFlags();
    // Windows opened later come in front of it, and the task bar lists it.
    EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(panel.windowType(), Qt::Window);
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(panel.windowTitle(), "How to Use Lumeno");
    scheduler.advance(2.5); // the demonstration under way, the keys pushed down
    shoot(panel, "howto-panel-reply");
    QTest::mouseClick(&nextButton(panel), Qt::LeftButton);
    scheduler.advance(2.5);
    shoot(panel, "howto-panel-edit");
}

TEST_F(HowToPanelTest, EveryOpeningReusesThePanelAndStartsTheGuideOver) {
    app->settings.setHotkey(Hotkey::modifier(ModifierKey::rightOption));
    HowToPanel& panel = open();
    QTest::mouseClick(&nextButton(panel), Qt::LeftButton);
    EXPECT_EQ(windows->howToSession().page(), 1);
    scheduler.advance(40);
    panel.close();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(windows->howToWindow(), &panel) << "closing only hides the panel";

    open();
    EXPECT_EQ(windows->howToWindow(), &panel);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(windows->howToSession().page(), 0);
    EXPECT_EQ(windows->howToSession().pageStart(), clock.now());
    EXPECT_EQ(nextButton(panel).text(), "Next");

    // Done on the last page only hides the panel.
    QTest::mouseClick(&nextButton(panel), Qt::LeftButton);
    ASSERT_EQ(nextButton(panel).text(), "Done");
    QTest::mouseClick(&nextButton(panel), Qt::LeftButton);
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(windows->howToWindow(), &panel);
}

TEST_F(HowToPanelTest, DraggingTheBackgroundMovesThePanel) {
    HowToPanel& panel = open();
    const QPoint before = panel.pos();
    // Between the page dots and the button: nothing there takes the click.
    const QPoint background(200, panel.height() - 20);
    ASSERT_EQ(panel.childAt(background), panel.view().findChild<QWidget*>("howToPage"));
    QTest::mousePress(&panel, Qt::LeftButton, {}, background);
    QTest::mouseMove(&panel, background + QPoint(30, -40));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, background + QPoint(30, -40));
    EXPECT_EQ(panel.pos(), before + QPoint(30, -40));

    QTest::mouseMove(&panel, QPoint(10, 10));
    EXPECT_EQ(panel.pos(), before + QPoint(30, -40)) << "without the button held the panel stays";
}

} // namespace
} // namespace lumeno
