#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeScreenInfo.h"
#include "support/ManualScheduler.h"
#include "testsupport/QtPrinters.h"
#include "testsupport/Screenshots.h"
#include "ui/ProblemLabel.h"
#include "ui/SettingsSection.h"
#include "ui/WrappingText.h"
#include "ui/WindowFrameAutosave.h"
#include "ui/WindowFront.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

QList<QLabel*> rowLabels(const SettingsSection& section) {
    return section.findChildren<QLabel*>(QStringLiteral("rowLabel"));
}

TEST(SettingsSectionTest, LabelsShareOneColumnAsWideAsTheWidest) {
    SettingsSection section(QStringLiteral("Your name"));
    section.addRow(QStringLiteral("Name"), new QLineEdit);
    const int narrow = rowLabels(section).first()->width();
    section.addRow(QStringLiteral("A label far wider than the usual column"), new QLineEdit);
    const QList<QLabel*> labels = rowLabels(section);
    ASSERT_EQ(labels.size(), 2);
    EXPECT_GT(labels[1]->width(), narrow);
    EXPECT_EQ(labels[0]->width(), labels[1]->width()) << "fields start at one edge";
    EXPECT_GE(labels[1]->width(), labels[1]->sizeHint().width()) << "no label is cut";
}

TEST(SettingsSectionTest, ValueRowsShowForeignTextAsItIsAndClearingEmptiesTheSection) {
    SettingsSection section({});
    EXPECT_TRUE(section.isEmpty());
    EXPECT_FALSE(section.findChild<QLabel*>(QStringLiteral("sectionTitle"))->isVisibleTo(&section));
    section.addValueRow(QStringLiteral("App"), QStringLiteral("<b>Mail</b>"));
    auto* value = section.findChild<WrappingText*>(QStringLiteral("value"));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->text(), "<b>Mail</b>") << "never read as markup";
    EXPECT_EQ(value->accessibleName(), "App");
    EXPECT_FALSE(section.isEmpty());

    section.clearRows();
    EXPECT_TRUE(section.isEmpty());
    EXPECT_EQ(section.findChild<WrappingText*>(QStringLiteral("value")), nullptr) << "a cleared row is no longer found";
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    section.setFooter(QStringLiteral("Shown under the rows."));
    EXPECT_EQ(section.footer(), "Shown under the rows.");
    EXPECT_TRUE(section.findChild<QLabel*>(QStringLiteral("sectionFooter"))->isVisibleTo(&section));
}

TEST(SettingsSectionTest, AGroupedFormLooksOfAPiece) {
    QWidget page;
    auto* layout = new QVBoxLayout(&page);
    layout->setContentsMargins(20, 20, 20, 20);
    auto* names = new SettingsSection(QStringLiteral("Your name"), &page);
    names->addRow(QStringLiteral("Name"), new QLineEdit(QStringLiteral("Alex Morgan")));
    names->addRow(QStringLiteral("E-mail sign-off"), new QLineEdit(QStringLiteral("Best,")));
    names->setFooter(QStringLiteral("E-mails end with the sign-off and the sign-as name."));
    layout->addWidget(names);
    auto* record = new SettingsSection(QStringLiteral("Where"), &page);
    record->addValueRow(QStringLiteral("App"), QStringLiteral("Mail"));
    record->addValueRow(QStringLiteral("Window title"), QStringLiteral("Re: the quarterly numbers"));
    auto* problem = new ProblemLabel(record);
    problem->setProblem(QStringLiteral("That shortcut is taken by another program."));
    record->addRow(problem);
    layout->addWidget(record);
    page.resize(460, page.sizeHint().height());
    page.show();
    QCoreApplication::sendPostedEvents();
    screenshots::save(screenshots::onDesktop(page), QStringLiteral("ui-settings-section"));
}

class WindowFrameAutosaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.setMinimumSize(300, 200);
        window.resize(400, 300);
    }
    QRect centred() const {
        QRect frame(QPoint(), QSize(400, 300));
        frame.moveCenter(screens.mainScreen()->visibleFrame.center());
        return frame;
    }

    const QString key = QStringLiteral("TestWindow");
    ManualClock clock;
    ManualScheduler scheduler{clock};
    FakeDefaultsStore defaults;
    FakeScreenInfo screens;
    QWidget window;
    WindowFrameAutosave* frame = new WindowFrameAutosave(window, key, defaults, screens, scheduler);
};

TEST_F(WindowFrameAutosaveTest, ABrokenSavedFrameIsIgnoredAndTheWindowCentred) {
    for (const QJsonValue& broken :
         {QJsonValue(QStringLiteral("10,10,400,300")),
          QJsonValue(QJsonObject{{"x", 10}, {"y", 10}, {"width", "400"}, {"height", 300}}),
          QJsonValue(QJsonObject{{"x", 10}, {"y", 10}, {"width", 0}, {"height", 300}}),
          QJsonValue(QJsonObject{{"x", 10}, {"y", 10}, {"width", 400}, {"height", 0}})}) {
        defaults.set(key, broken);
        EXPECT_EQ(frame->saved(), std::nullopt);
        frame->place();
        EXPECT_EQ(window.geometry(), centred());
    }
}

TEST_F(WindowFrameAutosaveTest, AFrameOffEveryScreenIsCentredAndOneTooSmallGrowsToTheMinimum) {
    defaults.set(key, QJsonObject{{"x", 5000}, {"y", 4000}, {"width", 400}, {"height", 300}});
    frame->place();
    EXPECT_EQ(window.geometry(), centred());
    defaults.set(key, QJsonObject{{"x", 40}, {"y", 60}, {"width", 100}, {"height", 100}});
    frame->place();
    EXPECT_EQ(window.geometry(), QRect(40, 60, 300, 200));
}

TEST_F(WindowFrameAutosaveTest, BringingToTheFrontRestoresAMinimizedWindowButKeepsItMaximized) {
    bringToFront(window);
    window.setWindowState(Qt::WindowMaximized);
    window.hide();
    bringToFront(window);
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    window.setWindowState(Qt::WindowMinimized);
    bringToFront(window);
    EXPECT_FALSE(window.windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowFrameAutosaveTest, HidingWritesTheFrameAtOnceAndOnlyMovesOfTheShownWindowCount) {
    frame->place();
    window.setGeometry(QRect(50, 60, 500, 350)); // not shown yet: not the user's doing
    EXPECT_EQ(defaults.get(key), std::nullopt);
    window.show();
    window.setGeometry(QRect(60, 70, 510, 350));
    window.setGeometry(QRect(70, 80, 520, 360));
    EXPECT_EQ(defaults.get(key), std::nullopt) << "a burst is written once it is over";
    scheduler.advance(WindowFrameAutosave::saveDelay);
    EXPECT_EQ(frame->saved(), QRect(70, 80, 520, 360));
    window.setGeometry(QRect(90, 100, 540, 380));
    window.hide();
    EXPECT_EQ(frame->saved(), QRect(90, 100, 540, 380)) << "hiding writes at once";
    defaults.set(key, QStringLiteral("moved by someone else"));
    scheduler.advance(WindowFrameAutosave::saveDelay * 2);
    EXPECT_EQ(defaults.get(key), QJsonValue(QStringLiteral("moved by someone else")))
        << "the written burst is not written again";

    window.show();
    window.setGeometry(QRect(30, 40, 450, 320));
    delete frame; // as when the window closes for good before the burst is over
    EXPECT_EQ(WindowFrameAutosave(window, key, defaults, screens, scheduler).saved(), QRect(30, 40, 450, 320));
}

} // namespace
} // namespace lumeno
