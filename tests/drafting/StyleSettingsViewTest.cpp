#include "drafting/StyleSettingsView.h"

#include "drafting/StyleStore.h"
#include "foundation/SettingsStore.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeSecretStore.h"
#include "support/Clock.h"
#include "testsupport/QtPrinters.h"
#include "testsupport/Screenshots.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace lumeno {
namespace {

class StyleSettingsViewTest : public ::testing::Test {
protected:
    StyleSettingsViewTest() {
        store->accountName = [] { return QStringLiteral("Maya Lindqvist"); };
        StyleProfile profile = store->profile();
        profile.signAsName = QStringLiteral("Maya");
        profile.tone = StyleProfile::Tone::warm;
        profile.samples = QStringLiteral("Hi Tom,\n\nLove it, let's do it.\n\nBest,\nMaya\n---\nRunning late, start without me");
        store->setProfile(profile);
        store->addLearnedExample(QStringLiteral("Thanks Jonas! Tuesday is perfect, I'll book the room."));
        store->addLearnedExample(QStringLiteral("Sounds good to me. Let's keep it under an hour though :)"));
        view.resize(560, 860);
        view.show();
    }

    template <typename T>
    T* child(const char* name) {
        T* found = view.findChild<T*>(QLatin1String(name));
        EXPECT_TRUE(found) << name;
        return found;
    }

    // The style as the next run of the program reads it from disk.
    StyleProfile saved() {
        store->finishDiskWork();
        return StyleStore(store->filePath(), settings, clock).profile();
    }

    // What the user sees once pending layout work has run.
    QImage picture(QWidget& widget) {
        QCoreApplication::processEvents();
        return screenshots::onDesktop(widget);
    }

    QMessageBox* openResetDialog() {
        QTest::mouseClick(child<QPushButton>("resetStyle"), Qt::LeftButton);
        return view.findChild<QMessageBox*>(QStringLiteral("confirmReset"));
    }

    QPushButton* button(QMessageBox* box, const QString& text) {
        for (QAbstractButton* candidate : box->buttons())
            if (candidate->text() == text)
                return qobject_cast<QPushButton*>(candidate);
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }

    QTemporaryDir dir;
    FakeDefaultsStore defaults;
    FakeSecretStore secrets;
    SettingsStore settings{defaults, secrets};
    ManualClock clock;
    std::unique_ptr<StyleStore> store =
        std::make_unique<StyleStore>(dir.filePath(QStringLiteral("style.json")), settings, clock);
    StyleSettingsView view{*store};
};

TEST_F(StyleSettingsViewTest, ShowsTheProfileAndWhatEmptyFieldsFallBackTo) {
    EXPECT_EQ(child<QLineEdit>("name")->text(), QString());
    EXPECT_EQ(child<QLineEdit>("name")->placeholderText(), QStringLiteral("Maya Lindqvist"));
    EXPECT_EQ(child<QLineEdit>("signAsName")->text(), QStringLiteral("Maya"));
    EXPECT_EQ(child<QLineEdit>("emailSignOff")->text(), QStringLiteral("Best,"));
    EXPECT_EQ(child<QComboBox>("tone")->currentText(), QStringLiteral("Warm"));
    EXPECT_EQ(child<QComboBox>("length")->currentText(), QStringLiteral("Normal"));
    EXPECT_TRUE(child<QCheckBox>("learnFromEdits")->isChecked());
    const QListWidget* examples = child<QListWidget>("learnedExamples");
    ASSERT_EQ(examples->count(), 2);
    EXPECT_TRUE(examples->item(0)->text().startsWith(QStringLiteral("Sounds good to me"))) << "newest first";
    const QPlainTextEdit* samples = child<QPlainTextEdit>("samples");
    EXPECT_EQ(samples->height(), 130) << "the samples box keeps its height, its frame whole";
    EXPECT_TRUE(samples->parentWidget()->rect().contains(samples->geometry()));

    screenshots::save(picture(view), QStringLiteral("style-tab"));
}

TEST_F(StyleSettingsViewTest, EveryChangeIsSavedAtOnce) {
    QTest::keyClicks(child<QLineEdit>("emailSignOff"), QStringLiteral(" wishes"));
    EXPECT_EQ(saved().emailSignOff, QStringLiteral("Best, wishes"));

    QComboBox* formality = child<QComboBox>("formality");
    formality->setCurrentIndex(formality->findText(QStringLiteral("Formal")));
    EXPECT_EQ(saved().formality, StyleProfile::Formality::formal);

    QCheckBox* learn = child<QCheckBox>("learnFromEdits");
    QTest::mouseClick(learn, Qt::LeftButton, {}, QPoint(8, learn->height() / 2)); // on the box itself
    EXPECT_FALSE(saved().learnFromEdits);

    QPlainTextEdit* samples = child<QPlainTextEdit>("samples");
    samples->moveCursor(QTextCursor::End);
    QTest::keyClicks(samples, QStringLiteral("!"));
    EXPECT_TRUE(saved().samples.endsWith(QStringLiteral("start without me!")));
}

TEST_F(StyleSettingsViewTest, RemovesALearnedExampleAndFollowsTheStore) {
    QListWidget* examples = child<QListWidget>("learnedExamples");
    QPushButton* remove = child<QPushButton>("removeExample");
    EXPECT_FALSE(remove->isEnabled());
    examples->setCurrentRow(1);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(saved().learnedExamples,
              QStringList{"Sounds good to me. Let's keep it under an hour though :)"});
    ASSERT_EQ(examples->count(), 1);

    store->addLearnedExample(QStringLiteral("On my way!"));
    ASSERT_EQ(examples->count(), 2);
    EXPECT_EQ(examples->item(0)->text(), QStringLiteral("On my way!"));
}

TEST_F(StyleSettingsViewTest, ResetAsksFirstAndKeepsNamesAndSignOff) {
    QMessageBox* box = openResetDialog();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("Reset your style?"));
    EXPECT_EQ(box->informativeText(), QStringLiteral("Clears learned examples and the knobs. Name and sign-off stay."));
    screenshots::save(picture(*box), QStringLiteral("style-tab-reset"));
    const StyleProfile before = store->profile();
    QTest::mouseClick(button(box, QStringLiteral("Cancel")), Qt::LeftButton);
    EXPECT_EQ(saved(), before);

    box = openResetDialog();
    ASSERT_TRUE(box);
    QTest::mouseClick(button(box, QStringLiteral("Reset Style")), Qt::LeftButton);
    const StyleProfile after = saved();
    EXPECT_TRUE(after.learnedExamples.isEmpty());
    EXPECT_EQ(after.tone, StyleProfile::Tone::auto_);
    EXPECT_EQ(after.signAsName, QStringLiteral("Maya"));
    EXPECT_EQ(after.emailSignOff, QStringLiteral("Best,"));
    EXPECT_EQ(child<QComboBox>("tone")->currentText(), QStringLiteral("Auto"));
    EXPECT_FALSE(child<QListWidget>("learnedExamples")->isVisible());
    EXPECT_TRUE(child<QLabel>("noExamples")->isVisible());
    screenshots::save(picture(view), QStringLiteral("style-tab-after-reset"));
}

} // namespace
} // namespace lumeno
