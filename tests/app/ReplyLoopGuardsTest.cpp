// Why a dictation does not start or stops early: sign-in, pause, permissions, terminals, password fields,
// a language without a recognizer; and edit mode's own checks.
#include "LoopHarness.h"

#include <QCoroTask>

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
    QObject::connect(&loop(), &ReplyLoop::firstRunRequested, [&] { ++guides; });
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
    advance(3.9); // a notice with an action stays long enough to click it
    EXPECT_EQ(shown(), OverlayPhase::message);
    advance(0.2);
    EXPECT_EQ(shown(), OverlayPhase::hidden);

    holdBegins();
    overlay().act(OverlayAction::resume());
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
    expectMessage(QStringLiteral("Accessibility is off"), OverlayMessage::Kind::error,
                  OverlayAction::fixPermission(PermissionsGate::Permission::accessibility));
    screenshot(QStringLiteral("loop-accessibility"));
    advance(11.9);
    EXPECT_EQ(shown(), OverlayPhase::message); // errors stay twelve seconds
    advance(0.2);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    holdBegins();
    overlay().act(*overlay().message()->action); // the fix puts the message away and asks the desktop
    settle();
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_EQ(trust.requestCount(), 1);

    trust.setTrusted(true);
    micPermission.setStatus(AuthorizationStatus::denied);
    holdBegins();
    expectMessage(QStringLiteral("Lumeno can't hear you"), OverlayMessage::Kind::error,
                  OverlayAction::fixPermission(PermissionsGate::Permission::microphone));
    EXPECT_EQ(overlay().message()->detail,
              QStringLiteral("Connect a microphone, or pick it as the input in your desktop's sound settings."));
    // Where the desktop knows why (no sound server yet), the message says so, and offers no settings that
    // could not start one.
    micPermission.changeSoundServer(false, QStringLiteral("No sound server is running yet."));
    holdBegins();
    expectMessage(QStringLiteral("Lumeno can't hear you"), OverlayMessage::Kind::error, std::nullopt);
    EXPECT_EQ(overlay().message()->detail, QStringLiteral("No sound server is running yet."));
    screenshot(QStringLiteral("loop-no-sound-server"));
    micPermission.changeSoundServer(true);
    holdBegins();
    expectMessage(QStringLiteral("Lumeno can't hear you"), OverlayMessage::Kind::error,
                  OverlayAction::fixPermission(PermissionsGate::Permission::microphone));
    overlay().act(*overlay().message()->action);
    settle();
    EXPECT_EQ(shown(), OverlayPhase::hidden);
    EXPECT_EQ(workspace.openedPages, std::vector{Workspace::SettingsPage::microphone});
    // Without a sound settings app the fix says what to do instead, long enough to read.
    workspace.canOpen = false;
    workspace.withoutTool = QStringLiteral("Install pavucontrol.");
    holdBegins();
    overlay().act(*overlay().message()->action);
    settle();
    expectMessage(QStringLiteral("Couldn't open the sound settings"), OverlayMessage::Kind::error, std::nullopt);
    EXPECT_EQ(overlay().message()->detail, QStringLiteral("Install pavucontrol."));
    screenshot(QStringLiteral("loop-no-sound-settings"));
    advance(11.9);
    EXPECT_EQ(shown(), OverlayPhase::message);
    workspace.canOpen = true;

    micPermission.setStatus(AuthorizationStatus::notDetermined);
    holdBegins();
    expectMessage(QStringLiteral("Allow the microphone, then press Right Alt again"), OverlayMessage::Kind::notice,
                  std::nullopt);
    advance(1);
    EXPECT_EQ(micPermission.promptCount(), 1);
    EXPECT_EQ(engine.sessionCount(), 0);
}

TEST_F(ReplyLoopGuardsTest, AnAccessibilitySwitchTurnedOffAfterSetupIsSaidOffAndItsButtonTurnsItOn) {
    trust.switchesOn = true;
    trust.setTrusted(false);
    app->settings.setDidPromptAccessibility(true); // set up long ago; switched off since
    holdBegins();
    expectMessage(QStringLiteral("Accessibility is off"), OverlayMessage::Kind::error,
                  OverlayAction::fixPermission(PermissionsGate::Permission::accessibility, true));
    EXPECT_EQ(overlay().message()->action->buttonTitle(), QStringLiteral("Turn On"));
    screenshot(QStringLiteral("loop-accessibility-off"));

    overlay().act(*overlay().message()->action);
    settle();
    EXPECT_EQ(trust.requestCount(), 1) << "the press turns the switch, not a settings page";
    EXPECT_TRUE(workspace.openedPages.empty());
    trust.answerPrompt(true);
    EXPECT_EQ(app->permissions.accessibility(), AuthorizationStatus::granted);
    holdBegins();
    EXPECT_TRUE(loop().phase().isListening());
}

TEST_F(ReplyLoopGuardsTest, TerminalsAndPasswordFieldsStopTheCaptureAtOnce) {
    app->settings.setShowsDraftDetails(true);
    const FakeScenes::Terminal terminal = FakeScenes::terminal(desktop);
    desktop.focus(terminal.screen);
    holdBegins();
    expectMessage(QStringLiteral("Lumeno doesn't type into terminals"), OverlayMessage::Kind::notice, std::nullopt);
    EXPECT_TRUE(engine.session()->isCancelled());
    EXPECT_FALSE(app->listeningDebug.isVisible()) << "the diagnostics go with the listening";
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
    QObject::connect(&loop(), &ReplyLoop::settingsRequested, [&](SettingsTab tab) {
        EXPECT_EQ(tab, SettingsTab::general);
        ++opened;
    });
    overlay().act(*overlay().message()->action);
    settle();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
}

TEST_F(ReplyLoopGuardsTest, SpeechInALanguageWithoutARecognizerIsNotDrafted) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    desktop.focus(chat.composer);
    holdBegins();
    say(QStringLiteral("Dis-lui que jeudi me convient parfaitement et que j'apporterai le contrat signé."));
    release();
    advance(1);
    expectMessage(QStringLiteral("French can't be transcribed on this computer."), OverlayMessage::Kind::notice,
                  std::nullopt);
    EXPECT_TRUE(server->requests().empty());
}

TEST_F(ReplyLoopGuardsTest, DraftingErrorsLeadToSettingsOrSignInByTheirCause) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    desktop.focus(chat.composer);
    server->enqueue(FakeHttpTransport::json(400, R"({"error":{"code":"invalid_key","message":"Key revoked"}})"));
    dictate(QStringLiteral("tell her yes"));
    expectMessage(QStringLiteral("The model provider refused the key"), OverlayMessage::Kind::error,
                  OverlayAction::openSettings(SettingsTab::general));

    server->enqueue(FakeHttpTransport::json(402, R"({"error":{"message":"Plan ended"}})"));
    dictate(QStringLiteral("tell her yes"));
    expectMessage(QStringLiteral("Drafting is paused for billing"), OverlayMessage::Kind::error,
                  OverlayAction::openSettings(SettingsTab::general));

    server->enqueue(FakeHttpTransport::json(401, R"({"error":{"message":"Session ended"}})"));
    dictate(QStringLiteral("tell her yes"));
    expectMessage(QStringLiteral("Sign in to draft replies"), OverlayMessage::Kind::error, OverlayAction::signIn());
    int guides = 0;
    QObject::connect(&loop(), &ReplyLoop::firstRunRequested, [&] { ++guides; });
    overlay().act(OverlayAction::signIn());
    settle();
    EXPECT_EQ(guides, 1);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
}

TEST_F(ReplyLoopGuardsTest, SignedOutWhileListeningAsksToSignInAndSendsNothing) {
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    desktop.focus(chat.composer);
    holdBegins();
    say(QStringLiteral("tell her yes"));
    QCoro::waitFor(app->account.signOut());
    release();
    advance(3);
    expectMessage(QStringLiteral("Sign in to draft replies"), OverlayMessage::Kind::error, OverlayAction::signIn());
    for (const HttpRequest& request : server->requests())
        EXPECT_FALSE(request.url.path().endsWith(QStringLiteral("/v1/draft")));
}

class EditModeTest : public LoopHarness {
protected:
    FakeScenes::Notes notes = FakeScenes::notes(desktop);
};

TEST_F(EditModeTest, TheWholeFieldIsRewrittenAndUndoBringsItBack) {
    app->settings.setShowsDraftDetails(true);
    desktop.focus(notes.text);
    serverDrafts(QStringLiteral("Groceries: milk, eggs, bread"));
    holdBegins(true);
    EXPECT_TRUE(overlay().isEditing());
    EXPECT_EQ(overlay().editTarget(), QStringLiteral("Whole message"));
    say(QStringLiteral("add bread"));
    release(2.0, true);
    advanceUntilShown(OverlayPhase::inserted);

    EXPECT_EQ(desktop.valueOf(notes.text), QStringLiteral("Groceries: milk, eggs, bread"));
    EXPECT_EQ(shown(), OverlayPhase::inserted);
    EXPECT_EQ(overlay().insertedNote(), QStringLiteral("Edited. Ctrl+Z undoes it."));
    EXPECT_TRUE(overlay().offers().empty());
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Replaced the message"));
    screenshot(QStringLiteral("loop-edited"));
    advance(7.9);
    EXPECT_EQ(shown(), OverlayPhase::inserted) << "time to undo";

    overlay().copyOriginal();
    EXPECT_EQ(desktop.clipboard()->plainText, QStringLiteral("Groceries: milk, eggs"));
    EXPECT_EQ(overlay().message()->title, QStringLiteral("Copied the original text"));
    overlay().undoEdit();
    EXPECT_EQ(desktop.postedKeys().back(), KeySynth::Key::undo);
    EXPECT_EQ(overlay().message()->title, QStringLiteral("Undone"));
    EXPECT_EQ(desktop.valueOf(notes.text), QStringLiteral("Groceries: milk, eggs"));
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Replaced, then undone"));
    EXPECT_EQ(overlay().editedOriginal(), std::nullopt) << "one undo per edit";
}

TEST_F(EditModeTest, ASelectionIsRewrittenInPlace) {
    app->settings.setShowsDraftDetails(true);
    desktop.focus(notes.text);
    desktop.select(notes.text, TextRange{17, 4}); // "eggs"
    serverDrafts(QStringLiteral("six eggs"));
    holdBegins(true);
    EXPECT_EQ(overlay().editTarget(), QStringLiteral("Selection"));
    say(QStringLiteral("make it six"));
    release(2.0, true);
    advanceUntilShown(OverlayPhase::inserted);
    EXPECT_EQ(desktop.valueOf(notes.text), QStringLiteral("Groceries: milk, six eggs"));
    EXPECT_EQ(app->draftDetails.sessions().front().outcome, QStringLiteral("Replaced the selection"));
    advance(8.1);
    EXPECT_EQ(shown(), OverlayPhase::hidden);
}

TEST_F(EditModeTest, AnEditThatCannotBeReadBackWaitsWithANote) {
    focusFieldThatIgnoresPastes(notes.text);
    desktop.select(notes.text, TextRange{17, 4}); // "eggs"
    holdBegins(true);
    say(QStringLiteral("make it six"));
    release(2.0, true);
    advance(1);
    ASSERT_EQ(server->waitingCount(), 1);
    server->respond(FakeHttpTransport::json(200, R"({"text":"six eggs","provider":"anthropic","model":"m"})"));
    settle(); // pasted; the first look found the field unchanged
    desktop.change(notes.text, [](FakeDesktop::Element& field) { field.exposesValue = false; });
    advance(1); // the next look cannot read the field at all
    ASSERT_EQ(loop().phase().kind, Kind::pending);
    EXPECT_EQ(overlay().pendingNote(), QStringLiteral("If the edit isn't in the field, click it and press Insert."));
}

TEST_F(EditModeTest, ASelectionThatMovedWhileDraftingKeepsTheEditPending) {
    desktop.focus(notes.text);
    desktop.select(notes.text, TextRange{17, 4});
    holdBegins(true);
    say(QStringLiteral("make it six"));
    release(2.0, true);
    advance(1); // drafting: the server has not answered yet
    desktop.select(notes.text, TextRange{0, 0});
    ASSERT_EQ(server->waitingCount(), 1);
    server->respond(FakeHttpTransport::json(200, R"({"text":"six eggs","provider":"anthropic","model":"m"})"));
    advance(2);
    ASSERT_EQ(loop().phase().kind, Kind::pending);
    EXPECT_EQ(overlay().pendingNote(), QStringLiteral("Edit ready. Select the text it replaces, then tap Right Alt."));
    EXPECT_EQ(desktop.valueOf(notes.text), QStringLiteral("Groceries: milk, eggs"));
}

TEST_F(EditModeTest, AnEmptyFieldChosenForEditingWhileHoldingHasNothingToChange) {
    desktop.focus(notes.text);
    holdBegins(true); // an edit of other text before: nothing of it stays
    ASSERT_EQ(overlay().editTarget(), QStringLiteral("Whole message"));
    escape();
    const FakeScenes::ChatThread chat = FakeScenes::chatThread(desktop);
    desktop.focus(chat.composer);
    holdBegins();
    loop().handle(HotkeyEvent::editRequested(press));
    ASSERT_TRUE(loop().isEditing());
    EXPECT_TRUE(overlay().isEditing());
    say(QStringLiteral("make it shorter"));
    release(2.0, true);
    advance(1);
    ASSERT_TRUE(overlay().message());
    EXPECT_EQ(overlay().message()->title, QStringLiteral("There's no text here to change"));
    EXPECT_EQ(overlay().message()->detail, QStringLiteral("Write or insert a message first, or select the part to "
                                                          "change, then hold Right Alt+Super."));
    EXPECT_EQ(loop().phase().kind, Kind::idle);
    EXPECT_TRUE(server->requests().empty());
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
    overlay().undoEdit();
    EXPECT_EQ(desktop.clipboard()->plainText, QStringLiteral("Groceries: milk, eggs"));
    EXPECT_EQ(overlay().message()->detail,
              QStringLiteral("Text Editor isn't in front any more, so the original text is on your clipboard."));
    // A clipboard manager offering the copied original again does not make it context; the user's own copy is.
    const auto copied = [&](const QString& text) {
        platform.pasteboard->write(PasteboardContents::plain(text));
        const std::optional<PackedContext> context = QCoro::waitFor(app->contextPacker.pack(std::nullopt, std::nullopt));
        return context ? context->text : QString();
    };
    EXPECT_EQ(copied(QStringLiteral("Groceries: milk, eggs")), QString());
    EXPECT_EQ(copied(QStringLiteral("Lunch at noon?")), QStringLiteral("Lunch at noon?"));
}

// What edit mode takes as the text to change (the overlay's edit target), or why it refuses (the message).
TEST_F(EditModeTest, TheTextToChangeIsTheSelectionOrTheWholeMessageWithinLimits) {
    desktop.focus(notes.text);
    const auto target = [&](const QString& value, TextRange selection) {
        desktop.change(notes.text, [&](FakeDesktop::Element& field) { field.value = value; });
        desktop.select(notes.text, selection);
        holdBegins(true);
        const std::optional<OverlayMessage> refused = overlay().message();
        EXPECT_EQ(microphone.isRecording(), !refused) << "a refusal stops the listening at once";
        const QString result = refused ? refused->title : overlay().editTarget().value_or(QString());
        escape();
        return result;
    };
    const QString tooMuch = QStringLiteral("That's too much text to edit by voice");
    const QString unreadable = QStringLiteral("Lumeno can't read all of that text");
    const QString x1201(1201, QLatin1Char('x'));
    EXPECT_EQ(target(x1201, TextRange{0, 1201}), tooMuch);
    EXPECT_EQ(target(x1201, TextRange{0, 1200}), QStringLiteral("Selection"));
    // The limit counts characters as the user sees them: 1,000 flags are 4,000 UTF-16 units.
    const QString flags = QStringLiteral("🇸🇮").repeated(1000);
    EXPECT_EQ(target(flags, TextRange{0, flags.size()}), QStringLiteral("Selection"));
    EXPECT_EQ(target(x1201, TextRange{0, 0}), tooMuch);
    EXPECT_EQ(target(x1201.left(1200), TextRange{0, 0}), QStringLiteral("Whole message"));
    // A picture in the field stands in its text as U+FFFC: rewriting it would lose it.
    const QString picture = QStringLiteral("See \uFFFC below");
    EXPECT_EQ(target(picture, TextRange{0, 9}), unreadable);
    EXPECT_EQ(target(picture, TextRange{9, 0}), unreadable);
    EXPECT_EQ(target(picture, TextRange{0, 3}), QStringLiteral("Selection"));
    EXPECT_EQ(target(QString(), TextRange{0, 0}), QStringLiteral("There's no text here to change"));
    desktop.change(notes.text, [](FakeDesktop::Element& field) { field.editable = false; });
    EXPECT_EQ(target(QStringLiteral("read only"), TextRange{0, 0}), QStringLiteral("Click into the text you want to change"));
}

} // namespace
} // namespace lumeno
