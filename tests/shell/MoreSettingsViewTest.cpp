#include "ShellFixture.h"

#include "drafting/StyleStore.h"
#include "shell/MoreSettingsView.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace lumeno {
namespace {

class MoreSettingsViewTest : public ShellFixture {
protected:
    MoreSettingsViewTest() {
        QObject::connect(&view, &MoreSettingsView::showsDraftDetailsToggled, [this](bool on) {
            calls.push_back(on ? "shows on" : "shows off");
            settings.setShowsDraftDetails(on);
        });
        QObject::connect(&view, &MoreSettingsView::savesDraftDetailsToggled,
                         [this](bool on) { calls.push_back(on ? "saves on" : "saves off"); });
        QObject::connect(&view, &MoreSettingsView::draftDetailsRequested, [this] { calls.push_back("open"); });
        view.resize(520, 520);
        view.show();
    }
    QCheckBox* box(const char* name) { return child<QCheckBox>(view, name); }
    QMessageBox* openResetDialog() {
        QTest::mouseClick(child<QPushButton>(view, "resetStyle"), Qt::LeftButton);
        return view.findChild<QMessageBox*>("confirmReset");
    }

    QTemporaryDir folder;
    StyleStore style{folder.filePath("style.json"), settings, clock};
    MoreSettingsView view{settings, style};
    std::vector<QString> calls;
};

TEST_F(MoreSettingsViewTest, TogglesWriteTheirSettings) {
    box("readsConversation")->click();
    EXPECT_FALSE(settings.readsConversation());
    box("paused")->click();
    EXPECT_TRUE(settings.isPaused());
    settings.setPaused(false); // the menu's Pause: the tab follows
    EXPECT_FALSE(box("paused")->isChecked());
}

TEST_F(MoreSettingsViewTest, DebugWindowSwitchGoesThroughItsCallbackAndShowsItsExtras) {
    EXPECT_FALSE(isShown(box("savesDraftDetails")));
    EXPECT_FALSE(isShown(child<QPushButton>(view, "openDebugWindow")));

    box("showsDraftDetails")->click();
    EXPECT_TRUE(isShown(box("savesDraftDetails")));
    QTest::mouseClick(child<QPushButton>(view, "openDebugWindow"), Qt::LeftButton);
    box("savesDraftDetails")->click();
    EXPECT_FALSE(settings.savesDraftDetails()) << "saving is the callback's to write";
    EXPECT_FALSE(box("savesDraftDetails")->isChecked()) << "the switch shows the setting, not the click";
    shoot(view, "settings-more-debug-on");

    box("showsDraftDetails")->click();
    EXPECT_FALSE(isShown(box("savesDraftDetails")));
    EXPECT_FALSE(isShown(child<QPushButton>(view, "openDebugWindow")));
    EXPECT_EQ(calls, (std::vector<QString>{"shows on", "open", "saves on", "shows off"}));
}

TEST_F(MoreSettingsViewTest, CancellingTheResetLeavesTheStyleAlone) {
    StyleProfile profile = style.profile();
    profile.learnedExamples.push_back(QStringLiteral("Thanks, see you Monday."));
    style.setProfile(profile);

    QMessageBox* dialog = openResetDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->text(), "Reset your style?");
    EXPECT_EQ(dialog->informativeText(), "Clears learned examples and the knobs. Name and sign-off stay.");
    screenshots::save(dialog->grab().toImage(), "settings-more-reset-dialog");
    dialog->button(QMessageBox::Cancel)->click();
    EXPECT_EQ(style.profile().learnedExamples.size(), 1);

    openResetDialog()->findChild<QPushButton*>("confirmResetStyle")->click();
    EXPECT_TRUE(style.profile().learnedExamples.empty());
}

TEST_F(MoreSettingsViewTest, LanguageIsNamedFromTheSpeechLocale) {
    settings.setSpeechLocaleID(QStringLiteral("sl-SI"));
    EXPECT_EQ(child<QLabel>(view, "language")->text(), "Slovenian");
    settings.setSpeechLocaleID(QStringLiteral("nb-NO"));
    EXPECT_EQ(MoreSettingsView::languageName(settings), "Norwegian");
    settings.setSpeechLocaleID(QStringLiteral("tlh"));
    EXPECT_EQ(MoreSettingsView::languageName(settings), "English") << "an unknown locale falls back to English";
}

} // namespace
} // namespace lumeno
