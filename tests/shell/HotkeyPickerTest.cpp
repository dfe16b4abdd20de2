#include "ShellFixture.h"

#include "ui/ProblemLabel.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/fake/FakeGlobalHotkeys.h"
#include "platform/fake/FakeModifierState.h"
#include "shell/GeneralSettingsView.h"
#include "voice/HotkeyService.h"
#include "voice/ModifierWatch.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>

namespace lumeno {
namespace {

constexpr int fnChoice = 3, comboChoice = 4;

class HotkeyPickerTest : public ShellFixture {
protected:
    HotkeyPickerTest() {
        view.resize(520, 220);
        view.show();
    }

    std::optional<QString> apply(const Hotkey& hotkey) {
        applied.push_back(hotkey);
        if (refusal)
            return refusal;
        settings.setHotkey(hotkey);
        return std::nullopt;
    }
    void choose(int index) {
        QComboBox* box = child<QComboBox>(view, "replyHotkey");
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    HotkeyPicker* picker() { return child<HotkeyPicker>(view, "hotkeyPicker"); }
    QString problem() { return child<ProblemLabel>(view, "problem")->text(); }
    bool problemShown() { return isShown(child<ProblemLabel>(view, "problem")); }

    QStandardItem* item(int index) {
        return qobject_cast<QStandardItemModel*>(child<QComboBox>(view, "replyHotkey")->model())->item(index);
    }
    QLabel* keyNote() { return child<QLabel>(view, "keyNote"); }

    std::vector<Hotkey> applied;
    std::optional<QString> refusal;
    std::optional<QString> editProblem;
    // Which single keys can work comes from the hot-key service, as in the application.
    FakeGlobalHotkeys keyboard;
    FakeModifierState modifiers{keyboard};
    HotkeyService hotkeys{HotkeyService::Ports{keyboard, modifiers, trust, layoutSource, scheduler, clock}};
    GeneralSettingsView view{settings, keyboardLayout, [this](const Hotkey& h) { return apply(h); },
                             [this](ModifierKey key) { return hotkeys.refusal(key); },
                             [this] { return editProblem; }};
};

TEST_F(HotkeyPickerTest, RecordsACombinationWithACommandKeyOrAFunctionKeyAlone) {
    choose(comboChoice);
    EXPECT_TRUE(picker()->isRecording());
    EXPECT_TRUE(applied.empty()) << "the hot key changes only once a combination is recorded";
    EXPECT_TRUE(isShown(child<QLabel>(view, "recordingPrompt")));
    shoot(view, "settings-general-recording");

    // Shift alone would swallow capital letters.
    QTest::keyClick(&view, Qt::Key_A, Qt::ShiftModifier);
    EXPECT_TRUE(picker()->isRecording());
    EXPECT_EQ(problem(), "Use Ctrl, Alt or Super with a key (or a function key) so the shortcut can't swallow normal typing.");
    shoot(view, "settings-general-shift-refused");

    QTest::keyClick(&view, Qt::Key_F5);
    EXPECT_FALSE(picker()->isRecording());
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied.back(), Hotkey::combo(KeyCombo{VirtualKey::f5, 0}));
    EXPECT_FALSE(problemShown());

    QTest::mouseClick(child<QPushButton>(view, "change"), Qt::LeftButton);
    EXPECT_EQ(child<QPushButton>(view, "change")->text(), "Press the shortcut…");
    EXPECT_FALSE(child<QPushButton>(view, "change")->isEnabled());
    // Caps Lock and keypad bits are not modifiers of a combination; Super is Command.
    QTest::keyClick(&view, Qt::Key_Space, Qt::MetaModifier | Qt::ShiftModifier | Qt::KeypadModifier);
    EXPECT_EQ(applied.back(), Hotkey::combo(KeyCombo{VirtualKey::space, VirtualKey::commandFlag | VirtualKey::shiftFlag}));
    EXPECT_EQ(child<QLabel>(view, "combination")->text(), "Shift+Super+Space");
    shoot(view, "settings-general-combination");
}

TEST_F(HotkeyPickerTest, OnlyABareEscapeCancels) {
    choose(comboChoice);
    QTest::keyClick(&view, Qt::Key_Escape, Qt::ControlModifier);
    EXPECT_EQ(applied.back(), Hotkey::combo(KeyCombo{VirtualKey::escape, VirtualKey::controlFlag}));

    QTest::mouseClick(child<QPushButton>(view, "change"), Qt::LeftButton);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_FALSE(picker()->isRecording());
    EXPECT_EQ(applied.size(), 1u);
    EXPECT_EQ(child<QPushButton>(view, "change")->text(), "Change…");
}

TEST_F(HotkeyPickerTest, KeysWhileRecordingNeverReachOtherWidgets) {
    QLineEdit elsewhere;
    elsewhere.show();
    choose(comboChoice);
    QTest::keyClicks(&elsewhere, "hello");
    EXPECT_EQ(elsewhere.text(), "");
    QTest::keyClick(&view, Qt::Key_Escape);
    QTest::keyClicks(&elsewhere, "hi");
    EXPECT_EQ(elsewhere.text(), "hi") << "the recorder lets go once it stops";

    choose(comboChoice);
    view.hide();
    EXPECT_FALSE(picker()->isRecording()) << "leaving the tab stops recording";
}

TEST_F(HotkeyPickerTest, ARefusedHotKeyShowsWhyUntilTheNextChoice) {
    refusal = QStringLiteral("Super+Space is taken by another program.");
    choose(comboChoice);
    QTest::keyClick(&view, Qt::Key_Space, Qt::MetaModifier);
    EXPECT_EQ(settings.hotkey(), Hotkey::modifier(ModifierKey::rightOption)) << "the previous hot key stays";
    EXPECT_EQ(problem(), "Super+Space is taken by another program.");
    EXPECT_EQ(child<QComboBox>(view, "replyHotkey")->currentIndex(), 0);
    shoot(view, "settings-general-refused");

    // Choosing the same modifier again re-applies it and clears the problem.
    refusal.reset();
    choose(0);
    EXPECT_EQ(applied.back(), Hotkey::modifier(ModifierKey::rightOption));
    EXPECT_FALSE(problemShown());
}

TEST_F(HotkeyPickerTest, TheChoicesAreThePcKeysAndAnUnreportedKeyIsOfferedDisabledWithItsReason) {
    QStringList titles;
    for (int i = 0; i <= comboChoice; ++i)
        titles << item(i)->text();
    EXPECT_EQ(titles.join(", "), "Right Alt, Right Super, Right Ctrl, Fn, Key combination…");
    EXPECT_TRUE(item(0)->isEnabled());
    EXPECT_FALSE(isShown(keyNote()));

    // Most keyboards keep fn to themselves, as the fake one does: it can't be picked.
    settings.setHotkey(Hotkey::modifier(ModifierKey::fn)); // as a migrated setting would have it
    view.hide();
    GeneralSettingsView fresh{settings, keyboardLayout, [this](const Hotkey& h) { return apply(h); },
                              [this](ModifierKey key) { return hotkeys.refusal(key); }, [] { return std::nullopt; }};
    fresh.resize(520, 220);
    fresh.show();
    auto* model = qobject_cast<QStandardItemModel*>(child<QComboBox>(fresh, "replyHotkey")->model());
    const QString why = "Fn never reaches Lumeno on this desktop: the keyboard keeps it to itself. Pick another key.";
    EXPECT_FALSE(model->item(fnChoice)->isEnabled());
    EXPECT_EQ(model->item(fnChoice)->toolTip(), why);
    EXPECT_TRUE(model->item(0)->isEnabled());
    EXPECT_EQ(child<QLabel>(fresh, "keyNote")->text(), why) << "the current key's reason stands under the picker";
    EXPECT_TRUE(isShown(child<QLabel>(fresh, "keyNote")));
    shoot(fresh, "settings-general-fn-unreported");
}

TEST_F(HotkeyPickerTest, OnALayoutWithAltGrTheRightAltKeyIsRefusedWithASentenceAndNamedAltGr) {
    const QString why = "On this keyboard layout Right Alt is AltGr: it types characters such as @ and €, so it "
                        "can't be the hot key. Pick another key.";
    choose(2);
    ASSERT_EQ(settings.hotkey(), Hotkey::modifier(ModifierKey::rightControl));
    layoutSource.setLayout(FakeKeyboardLayoutSource::germanLayout(), FakeKeyboardLayoutSource::germanRoles());
    EXPECT_EQ(item(0)->text(), "AltGr");
    EXPECT_FALSE(item(0)->isEnabled());
    EXPECT_EQ(item(0)->toolTip(), why);
    EXPECT_EQ(keyNote()->text(), why);
    EXPECT_TRUE(isShown(keyNote()));
    shoot(view, "settings-general-altgr-refused");

    layoutSource.setLayout(FakeKeyboardLayoutSource::usLayout());
    EXPECT_EQ(item(0)->text(), "Right Alt");
    EXPECT_TRUE(item(0)->isEnabled());
    EXPECT_FALSE(isShown(keyNote())) << "back on a US layout nothing is refused";
}

TEST_F(HotkeyPickerTest, ChosenFnWhereTheDesktopReportsItGetsTheNoteAboutKeyboardsThatKeepIt) {
    const QString note = "Many keyboards handle fn themselves and never report it: if holding fn does nothing, "
                         "pick another key.";
    keyboard.setReportsModifier(ModifierWatch::keyBit(ModifierKey::fn), true);
    choose(fnChoice);
    ASSERT_EQ(settings.hotkey(), Hotkey::modifier(ModifierKey::fn));
    EXPECT_EQ(keyNote()->text(), note);
    EXPECT_TRUE(isShown(keyNote()));
    EXPECT_FALSE(problemShown());
    shoot(view, "settings-general-fn-note");

    // Any other key: no note.
    choose(1);
    EXPECT_FALSE(isShown(keyNote()));
    choose(comboChoice);
    QTest::keyClick(&view, Qt::Key_Space, Qt::MetaModifier);
    EXPECT_FALSE(isShown(keyNote()));
}

TEST_F(HotkeyPickerTest, TheEditCombinationProblemIsReadAgainWhenTheHotKeyChanges) {
    EXPECT_FALSE(isShown(child<ProblemLabel>(view, "editHotkeyProblem")));
    editProblem = QStringLiteral("Alt+Super+Space is used by another app, so edit mode has no shortcut.");
    choose(comboChoice);
    QTest::keyClick(&view, Qt::Key_Space, Qt::MetaModifier);
    EXPECT_TRUE(isShown(child<ProblemLabel>(view, "editHotkeyProblem")));
    EXPECT_EQ(child<ProblemLabel>(view, "editHotkeyProblem")->text(), *editProblem);
}

} // namespace
} // namespace lumeno
