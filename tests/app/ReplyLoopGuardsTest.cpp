// Why a dictation does not start or stops early: sign-in, pause, permissions, terminals, password fields,
// a language without a recognizer; and edit mode's own checks.
#include "LoopHarness.h"

namespace lumeno {
namespace {

using testing::LoopHarness;
using Kind = TriggerLogic::Phase::Kind;

class ReplyLoopGuardsTest : public LoopHarness {
protected:
    void expectMessage(const QString& title, OverlayMessage::Kind kind, std::optional<OverlayAction> action) {
        ASSERT_TRUE(overlay().message());
        EXPECT_EQ(overlay().message()->title, title);
        EXPECT_EQ(overlay().message()->kind, kind);
        EXPECT_EQ(overlay().message()->action, action);
        EXPECT_EQ(shown(), OverlayPhase::message);
        EXPECT_EQ(loop().phase().kind, Kind::idle);
        EXPECT_FALSE(microphone.isRecording());
    }
};

TEST_F(ReplyLoopGuardsTest, SignedOutOpensTheFirstRunGuideAndListensToNothing) {
    QFile::remove(dir.filePath(QStringLiteral("session.json")));
    build();
    int guides = 0;
    loop().openFirstRun = [&] { ++guides; };
    holdBegins();
    EXPECT_EQ(guides, 1);
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(engine.sessionCount(), 0);
}

TEST_F(ReplyLoopGuardsTest, PausedShowsANoticeWhoseResumeActionTurnsLumenoBackOn) {
    app->settings.setPaused(true);
    holdBegins();
    expectMessage(QStringLiteral("Lumeno is paused"), OverlayMessage::Kind::notice, OverlayAction::resume());
    screenshot(QStringLiteral("loop-paused"));
    overlay().onAction(OverlayAction::resume());
    EXPECT_FALSE(app->settings.isPaused());
    EXPECT_EQ(overlay().message()->title, QStringLiteral("Lumeno is back on"));
    EXPECT_EQ(overlay().message()->detail, QStringLiteral("Hold Right Alt to reply."));
    advance(2.3);
    EXPECT_EQ(shown(), OverlayPhase::message);
    advance(0.2);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
}

TEST_F(ReplyLoopGuardsTest, MissingPermissionsBlockWithTheirOwnMessages) {
    trust.setTrusted(false);
    holdBegins();
    expectMessage(QStringLiteral("Accessibility isn't applied to this copy"), OverlayMessage::Kind::error,
                  OverlayAction::fixPermission(PermissionsGate::Permission::accessibility));
    screenshot(QStringLiteral("loop-accessibility"));
    advance(11.9);
    EXPECT_EQ(shown(), OverlayPhase::message); // errors stay twelve seconds
    advance(0.2);
    EXPECT_EQ(shown(), OverlayPhase::hidden);

    trust.setTrusted(true);
    micPermission.setStatus(AuthorizationStatus::denied);
    holdBegins();
    expectMessage(QStringLiteral("Lumeno can't hear you"), OverlayMessage::Kind::error,
                  OverlayAction::fixPermission(PermissionsGate::Permission::microphone));

    micPermission.setStatus(AuthorizationStatus::notDetermined);
    holdBegins();
    expectMessage(QStringLiteral("Allow the microphone, then press Right Alt again"), OverlayMessage::Kind::notice,
                  std::nullopt);
    advance(1);
    EXPECT_EQ(micPermission.promptCount(), 1);
    EXPECT_EQ(engine.sessionCount(), 0);
}

TEST_F(ReplyLoopGuardsTest, TerminalsAndPasswordFieldsStopTheCaptureAtOnce) {
    const FakeScenes::Terminal terminal = FakeScenes::terminal(desktop);
    desktop.focus(terminal.screen);
    holdBegins();
    expectMessage(QStringLiteral("Lumeno doesn't type into terminals"), OverlayMessage::Kind::notice, std::nullopt);
    EXPECT_TRUE(engine.session()->isCancelled());
    screenshot(QStringLiteral("loop-terminal"));

    const FakeScenes::SignIn page = FakeScenes::signIn(desktop);
    desktop.focus(page.password);
    holdBegins();
    expectMessage(QStringLiteral("That's a password field"), OverlayMessage::Kind::notice, std::nullopt);
    EXPECT_EQ(desktop.valueOf(page.password), QStringLiteral("correct horse battery"));
}

TEST_F(ReplyLoopGuardsTest, EscapeAfterAQuickReleaseAlsoSilencesTheStartStillReadingTheField) {
    const FakeScenes::Terminal terminal = FakeScenes::terminal(desktop);
    desktop.focus(terminal.screen);
    ++press;
    loop().handle(HotkeyEvent::down(press));
    loop().handle(HotkeyEvent::holdBegan(press, false));
    loop().handle(HotkeyEvent::up(press, 2.0, false)); // released before the field was even read
    loop().handle(HotkeyEvent::escape());
    advance(1);
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_FALSE(overlay().message());
    EXPECT_FALSE(log->contains(QStringLiteral("Overlay message: Lumeno doesn't type into terminals")));
}

TEST_F(ReplyLoopGuardsTest, ALanguageWithoutARecognizerCannotStartListening) {
    app->settings.setSpeechLocaleID(QStringLiteral("fr-FR"));
    holdBegins();
    expectMessage(QStringLiteral("Couldn't start listening"), OverlayMessage::Kind::error,
                  OverlayAction::openSettings(SettingsTab::general));
    int opened = 0;
    loop().openSettings = [&](SettingsTab tab) {
        EXPECT_EQ(tab, SettingsTab::general);
        ++opened;
    };
    overlay().onAction(*overlay().message()->action);
    settle();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
}

class EditModeTest : public LoopHarness {
protected:
    FakeScenes::Notes notes = FakeScenes::notes(desktop);
};

TEST_F(EditModeTest, TheWholeFieldIsRewrittenAndUndoBringsItBack) {
    desktop.focus(notes.text);
    serverDrafts(QStringLiteral("Groceries: milk, eggs, bread"));
    holdBegins(true);
    EXPECT_TRUE(overlay().isEditing());
    EXPECT_EQ(overlay().editTarget(), QStringLiteral("Whole message"));
    say(QStringLiteral("add bread"));
    release(2.0, true);
    advance(3);

    EXPECT_EQ(desktop.valueOf(notes.text), QStringLiteral("Groceries: milk, eggs, bread"));
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    EXPECT_EQ(overlay().insertedNote(), QStringLiteral("Edited. Ctrl+Z undoes it."));
    EXPECT_TRUE(overlay().offers().empty());
    screenshot(QStringLiteral("loop-edited"));

    overlay().onUndoEdit();
    EXPECT_EQ(desktop.postedKeys().back(), KeySynth::Key::undo);
    EXPECT_EQ(overlay().message()->title, QStringLiteral("Undone"));
    EXPECT_EQ(desktop.valueOf(notes.text), QStringLiteral("Groceries: milk, eggs"));
}

TEST_F(EditModeTest, UndoAfterTheAppLeftTheFrontCopiesTheOriginalInstead) {
    desktop.focus(notes.text);
    serverDrafts(QStringLiteral("Groceries: milk"));
    holdBegins(true);
    say(QStringLiteral("remove eggs"));
    release(2.0, true);
    advance(3);
    ASSERT_EQ(overlay().editedOriginal(), QStringLiteral("Groceries: milk, eggs"));

    desktop.clearFront();
    overlay().onUndoEdit();
    EXPECT_EQ(desktop.clipboard()->plainText, QStringLiteral("Groceries: milk, eggs"));
    EXPECT_EQ(overlay().message()->detail,
              QStringLiteral("Text Editor isn't in front any more, so the original text is on your clipboard."));
}

TEST_F(EditModeTest, ASelectionOverTheLimitIsRefusedAndAReadOnlyFieldToo) {
    const QString long1201(1201, QLatin1Char('x'));
    desktop.change(notes.text, [&](FakeDesktop::Element& field) { field.value = long1201; });
    desktop.focus(notes.text);
    desktop.select(notes.text, TextRange{0, 1201});
    holdBegins(true);
    ASSERT_TRUE(overlay().message());
    EXPECT_EQ(overlay().message()->title, QStringLiteral("That's too much text to edit by voice"));

    desktop.select(notes.text, TextRange{0, 1200});
    holdBegins(true);
    EXPECT_FALSE(overlay().message());
    EXPECT_EQ(overlay().editTarget(), QStringLiteral("Selection"));
    escape();

    desktop.change(notes.text, [](FakeDesktop::Element& field) { field.editable = false; });
    holdBegins(true);
    ASSERT_TRUE(overlay().message());
    EXPECT_EQ(overlay().message()->title, QStringLiteral("Click into the text you want to change"));
    EXPECT_FALSE(microphone.isRecording());
}

} // namespace
} // namespace lumeno
