#include "ShellFixture.h"

#include "ui/ProblemLabel.h"
#include "platform/VirtualKeyCodes.h"
#include "shell/GeneralSettingsView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
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

    std::vector<Hotkey> applied;
    std::optional<QString> refusal;
    std::optional<QString> editProblem;
    GeneralSettingsView view{settings, keyboardLayout, [this](const Hotkey& h) { return apply(h); },
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

TEST_F(HotkeyPickerTest, TheFnNoteFollowsTheChoice) {
    EXPECT_FALSE(isShown(child<QLabel>(view, "fnNote")));
    choose(fnChoice);
    EXPECT_EQ(settings.hotkey(), Hotkey::modifier(ModifierKey::fn));
    EXPECT_TRUE(isShown(child<QLabel>(view, "fnNote")));
    EXPECT_FALSE(isShown(child<QWidget>(view, "shortcutRow")));
    shoot(view, "settings-general-fn");
    choose(1);
    EXPECT_FALSE(isShown(child<QLabel>(view, "fnNote")));
}

TEST_F(HotkeyPickerTest, LeavingTheTabStopsRecording) {
    choose(comboChoice);
    view.hide();
    EXPECT_FALSE(picker()->isRecording());
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
