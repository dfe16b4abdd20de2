#include "voice/HotkeyService.h"

#include "HotkeyEventPrinting.h"
#include "HotkeyHarness.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

using namespace VirtualKey;
using E = HotkeyEvent;
using Combination = FakeGlobalHotkeys::Combination;
using Events = std::vector<HotkeyEvent>;

const KeyCombo controlOptionSpace{space, controlFlag | optionFlag};
const KeyCombo editOfControlOptionSpace{space, controlFlag | optionFlag | commandFlag};

class HotkeyServiceTest : public ::testing::Test, protected testing::HotkeyHarness {};

// --- A single modifier: hold, tap and short hold, timed on the manual clock.

TEST_F(HotkeyServiceTest, AHoldBeginsWithinAHundredMillisecondsAndEachReleaseSaysHowLongTheKeyWasDown) {
    service.start(Hotkey());
    keyboard.press(rightOption);
    EXPECT_EQ(takeEvents(), (Events{E::down(1)}));
    scheduler.advance(0.1);
    EXPECT_EQ(takeEvents(), (Events{E::holdBegan(1, false)}));
    scheduler.advance(1.1);
    keyboard.release(rightOption);
    EXPECT_EQ(takeEvents(), (Events{E::up(1, 1.2, false)}));

    hold(rightOption, 0.03); // released before the hold began: a clean tap
    scheduler.advance(1);
    hold(rightOption, 0.25);
    EXPECT_EQ(takeEvents(), (Events{E::down(2), E::up(2, 0.03, false), E::down(3), E::holdBegan(3, false),
                                    E::up(3, 0.25, false)}));
}

// --- The desktop's own times of the key events, which hold even when the program reads them late.

TEST_F(HotkeyServiceTest, PressAndReleaseReadTogetherStillSayHowLongTheKeyWasHeldByTheDesktopsClock) {
    // A second between them on the desktop while the program was stopped, none on its own clock.
    service.start(Hotkey());
    keyboard.setTime(5000);
    keyboard.press(rightOption);
    keyboard.setTime(6000);
    keyboard.release(rightOption);
    scheduler.advance(1);
    EXPECT_EQ(takeEvents(), (Events{E::down(1), E::up(1, 1.0, false)})) << "the hold timer went with the release";

    service.setHotkey(Hotkey::combo(controlOptionSpace));
    keyboard.setTime(7000);
    keyboard.pressCombination(space, controlFlag | optionFlag);
    keyboard.setTime(7800);
    keyboard.releaseCombination(space, controlFlag | optionFlag);
    EXPECT_EQ(takeEvents(), (Events{E::down(2), E::up(2, 0.8, false)}));
}

TEST_F(HotkeyServiceTest, TheDesktopsTimesAlsoShortenAPressReadLateAndSurviveItsClockWrapping) {
    service.start(Hotkey());
    // Read only after a second, but let go a tenth of a second after it went down: still a tap.
    keyboard.setTime(0xFFFFFF00u);
    keyboard.press(rightOption);
    scheduler.advance(1);
    keyboard.setTime(0xFFFFFF00u + 100);
    keyboard.release(rightOption);
    // Across the wrap of the desktop's 32-bit millisecond clock.
    keyboard.setTime(0xFFFFFFF0u);
    keyboard.press(rightOption);
    keyboard.setTime(500);
    keyboard.release(rightOption);
    EXPECT_EQ(takeEvents(), (Events{E::down(1), E::holdBegan(1, false), E::up(1, 0.1, false), E::down(2),
                                    E::up(2, 0.516, false)}));
}

TEST_F(HotkeyServiceTest, APressTheDesktopGaveNoTimeForIsTimedOnTheProgramsClock) {
    // Seen by polling, before the key stream opened for a new trust: its release alone has a time.
    keyboard.setWatchAvailable(false);
    service.start(Hotkey());
    keyboard.press(rightOption);
    scheduler.advance(HotkeyService::modifierPollInterval);
    keyboard.setWatchAvailable(true);
    trust.setTrusted(true);
    scheduler.advance(HotkeyService::trustCheckInterval);
    keyboard.setTime(1000);
    keyboard.release(rightOption);
    const Events events = takeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), E::up(1, HotkeyService::trustCheckInterval, false));
}

TEST_F(HotkeyServiceTest, EachModifierKeyAnswersOnlyToItsOwnSide) {
    service.start(Hotkey::modifier(ModifierKey::rightCommand));
    hold(command, 0.5);     // left Super is someone's shortcut
    hold(rightOption, 0.5); // another modifier entirely
    EXPECT_TRUE(takeEvents().empty());
    hold(rightCommand, 0.5);
    EXPECT_EQ(takeEvents(), (Events{E::down(1), E::holdBegan(1, false), E::up(1, 0.5, false)}));

    service.setHotkey(Hotkey::modifier(ModifierKey::rightControl));
    hold(rightControl, 0.5);
    EXPECT_EQ(takeEvents(), (Events{E::down(2), E::holdBegan(2, false), E::up(2, 0.5, false)}));
}

TEST_F(HotkeyServiceTest, ModifierGoingDownWithShiftOrControlHeldIsSomeoneElsesShortcut) {
    service.start(Hotkey());
    keyboard.press(shift);
    hold(rightOption, 0.5);
    keyboard.release(shift);
    keyboard.press(control);
    hold(rightOption, 0.5);
    keyboard.release(control);
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(HotkeyServiceTest, KeyAlreadyHeldWhenWatchingStartsIsNotAPress) {
    keyboard.press(rightOption);
    service.start(Hotkey());
    scheduler.advance(0.5);
    keyboard.release(rightOption);
    EXPECT_TRUE(takeEvents().empty());
    hold(rightOption, 0.5);
    EXPECT_EQ(takeEvents().front(), E::down(1));
}

// --- Typing with the modifier and Escape.

TEST_F(HotkeyServiceTest, TypingWithTheModifierInterruptsAndReachesTheApplication) {
    service.start(Hotkey());
    keyboard.press(rightOption);
    scheduler.advance(0.3);
    keyboard.tap(ansiE);
    scheduler.advance(0.05); // a quick Alt+E: its release must not count as a tap
    keyboard.release(rightOption);
    EXPECT_EQ(takeEvents(), (Events{E::down(1), E::holdBegan(1, false), E::interrupted(1)}));

    EXPECT_TRUE(keyboard.registeredCombinations().empty());
    ASSERT_EQ(keyboard.typedKeys().size(), 1u);
    EXPECT_EQ(keyboard.typedKeys()[0], (FakeGlobalHotkeys::TypedKey{ansiE, optionFlag | rightOptionBit}));

    // Typing before the hold begins keeps the overlay away.
    keyboard.press(rightOption);
    scheduler.advance(0.02);
    keyboard.tap(ansiE);
    keyboard.tap(ansiR);
    scheduler.advance(1);
    keyboard.release(rightOption);
    EXPECT_EQ(takeEvents(), (Events{E::down(2), E::interrupted(2)}));
    EXPECT_EQ(keyboard.typedKeys().size(), 3u);
}

TEST_F(HotkeyServiceTest, EscapeCancelsAndSpoilsTheHeldPress) {
    service.start(Hotkey());
    keyboard.tap(escape);
    keyboard.press(rightOption);
    scheduler.advance(0.2);
    keyboard.tap(escape);
    scheduler.advance(0.1);
    keyboard.release(rightOption);
    EXPECT_EQ(takeEvents(), (Events{E::escape(), E::down(1), E::holdBegan(1, false), E::escape()}));
    EXPECT_EQ(keyboard.typedKeys().size(), 2u) << "Escape still reaches the application";

    // The edit modifier cannot bring a spoiled press back.
    keyboard.press(rightOption);
    scheduler.advance(0.2);
    keyboard.tap(escape);
    keyboard.press(command);
    keyboard.release(command);
    keyboard.release(rightOption);
    EXPECT_EQ(takeEvents(), (Events{E::down(2), E::holdBegan(2, false), E::escape()}));
}

// --- The edit modifier.

TEST_F(HotkeyServiceTest, EditModifierHeldOrPressedTogetherMakesAnEditPress) {
    service.start(Hotkey());
    keyboard.press(command);
    hold(rightOption, 0.6);
    keyboard.release(command);
    // Super a few milliseconds after the key: still one gesture.
    keyboard.press(rightOption);
    scheduler.advance(0.02);
    keyboard.press(rightCommand);
    scheduler.advance(0.1);
    keyboard.release(rightCommand);
    keyboard.release(rightOption);
    EXPECT_EQ(takeEvents(), (Events{E::down(1), E::holdBegan(1, true), E::up(1, 0.6, true), E::down(2),
                                    E::holdBegan(2, true), E::up(2, 0.12, true)}));
}

TEST_F(HotkeyServiceTest, EditModifierJoiningAHoldRequestsEditOnce) {
    service.start(Hotkey());
    keyboard.press(rightOption);
    scheduler.advance(0.3);
    keyboard.press(command);
    keyboard.release(command);
    keyboard.press(command);
    scheduler.advance(0.3);
    keyboard.release(rightOption);
    EXPECT_EQ(takeEvents(),
              (Events{E::down(1), E::holdBegan(1, false), E::editRequested(1), E::up(1, 0.6, true)}));
}

TEST_F(HotkeyServiceTest, RightCommandTakesOptionAsItsEditModifier) {
    service.start(Hotkey::modifier(ModifierKey::rightCommand));
    keyboard.press(rightCommand);
    scheduler.advance(0.3);
    keyboard.press(command); // the same modifier on the other side: nothing
    keyboard.press(option);
    scheduler.advance(0.3);
    keyboard.release(rightCommand);
    EXPECT_EQ(takeEvents(),
              (Events{E::down(1), E::holdBegan(1, false), E::editRequested(1), E::up(1, 0.6, true)}));
}

// --- Without the desktop's key stream.

TEST_F(HotkeyServiceTest, PolledModifiersStillBeginTheHoldWithinAHundredMilliseconds) {
    keyboard.setWatchAvailable(false);
    service.start(Hotkey());
    EXPECT_FALSE(service.isWatchingKeys());
    scheduler.advance(HotkeyService::modifierPollInterval + 0.001); // just after a poll: the worst moment
    keyboard.press(rightOption);
    scheduler.advance(0.1);
    EXPECT_EQ(takeEvents(), (Events{E::down(1), E::holdBegan(1, false)}));
    keyboard.release(rightOption);
    scheduler.advance(HotkeyService::modifierPollInterval);
    const Events events = takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, HotkeyEvent::Kind::up);
    EXPECT_NEAR(events[0].heldFor, 0.1, HotkeyService::modifierPollInterval + 0.001);
}

// --- What the application in front sees.

TEST_F(HotkeyServiceTest, ASingleKeyHotKeyReachesTheAppInFrontAsAChordNeverAlone) {
    service.start(Hotkey::modifier(ModifierKey::rightOption));
    hold(rightOption, 1.0);
    keyboard.tap(rightOption);
    EXPECT_EQ(keyboard.maskedModifiers(), (std::vector{modifierBits(rightOption), modifierBits(rightOption)}))
        << "masked while held, on every press, the hold and the tap alike";
    // Alt going down alone may start a hold, so it is masked even when F follows: the app still gets Alt+F.
    keyboard.press(rightOption);
    keyboard.tap(ansiF);
    keyboard.release(rightOption);
    EXPECT_EQ(keyboard.maskedModifiers().size(), 3u);
    // Joining a shortcut already held is no press, and the app sees the chord anyway.
    keyboard.press(control);
    keyboard.press(rightOption);
    keyboard.release(rightOption);
    keyboard.release(control);
    EXPECT_EQ(keyboard.maskedModifiers().size(), 3u);
}

// --- Keys the keyboard layout types with.

TEST_F(HotkeyServiceTest, RightAltAsAltGrIsRefusedAndNeverListensUntilTheLayoutGivesItBack) {
    std::vector<QString> told;
    QObject::connect(&service, &HotkeyService::refusedByLayout, [&](const QString& why) { told.push_back(why); });
    const QString why = "On this keyboard layout Right Alt is AltGr: it types characters such as @ and €, so it "
                        "can't be the hot key. Pick another key.";
    layout.setLayout(FakeKeyboardLayoutSource::germanLayout(), FakeKeyboardLayoutSource::germanRoles());
    service.start(Hotkey::modifier(ModifierKey::rightOption));
    EXPECT_EQ(service.registrationError(), why);
    EXPECT_EQ(told, std::vector{why}) << "a saved key that is AltGr at start is reported too";
    // AltGr+Q types @: no press, no hold.
    keyboard.press(rightOption);
    keyboard.tap(ansiQ);
    scheduler.advance(1.0);
    keyboard.release(rightOption);
    EXPECT_TRUE(takeEvents().empty());

    layout.setLayout(FakeKeyboardLayoutSource::usLayout());
    EXPECT_EQ(service.registrationError(), std::nullopt);
    hold(rightOption, 0.1);
    EXPECT_EQ(takeEvents(), (Events{HotkeyEvent::down(1), HotkeyEvent::holdBegan(1, false),
                                    HotkeyEvent::up(1, 0.1, false)}));

    layout.setLayout(FakeKeyboardLayoutSource::germanLayout(), FakeKeyboardLayoutSource::germanRoles());
    EXPECT_EQ(told.size(), 2u) << "each time the layout takes the key, the owner hears of it";
    hold(rightOption, 0.1);
    EXPECT_TRUE(takeEvents().empty());
}

TEST_F(HotkeyServiceTest, ALayoutChangeThatLeavesTheKeyAloneKeepsAPressGoing) {
    int told = 0;
    QObject::connect(&service, &HotkeyService::refusedByLayout, [&] { ++told; });
    service.start(Hotkey::modifier(ModifierKey::rightControl));
    keyboard.press(rightControl);
    layout.setLayout(FakeKeyboardLayoutSource::germanLayout(), FakeKeyboardLayoutSource::germanRoles());
    scheduler.advance(0.1);
    keyboard.release(rightControl);
    EXPECT_EQ(takeEvents(), (Events{HotkeyEvent::down(1), HotkeyEvent::holdBegan(1, false),
                                    HotkeyEvent::up(1, 0.1, false)}));
    EXPECT_EQ(told, 0);
    EXPECT_EQ(service.refusal(ModifierKey::rightOption).has_value(), true);
    EXPECT_EQ(service.refusal(ModifierKey::rightControl), std::nullopt);
}

TEST_F(HotkeyServiceTest, ComposeAndLayoutSwitchKeysAreRefusedWithTheirOwnReasons) {
    layout.setLayout(FakeKeyboardLayoutSource::usLayout(),
                     {{rightCommand, KeyboardLayoutSource::KeyRole::compose},
                      {rightOption, KeyboardLayoutSource::KeyRole::inputSwitch}});
    EXPECT_EQ(service.refusal(ModifierKey::rightCommand),
              "On this keyboard layout Right Super is Compose: it starts characters such as é and ß, so it can't "
              "be the hot key. Pick another key.");
    EXPECT_EQ(service.refusal(ModifierKey::rightOption),
              "On this keyboard layout Right Alt switches the input language, so it can't be the hot key. Pick "
              "another key.");
}

// --- fn, which the desktop never reports.

TEST_F(HotkeyServiceTest, FnGivesARegistrationErrorWhereTheDesktopCannotSeeIt) {
    service.start(Hotkey::modifier(ModifierKey::fn));
    EXPECT_EQ(service.registrationError(),
              QStringLiteral("Fn never reaches Lumeno on this desktop: the keyboard keeps it to itself. "
                             "Pick another key."));
    EXPECT_FALSE(keyboard.isWatching());
    hold(function, 0.5);
    EXPECT_TRUE(takeEvents().empty());

    service.setHotkey(Hotkey());
    EXPECT_EQ(service.registrationError(), std::nullopt);

    // Where the desktop reports it, Fn works.
    keyboard.setReportsModifier(functionFlag, true);
    service.setHotkey(Hotkey::modifier(ModifierKey::fn));
    EXPECT_EQ(service.registrationError(), std::nullopt);
    hold(function, 0.5);
    EXPECT_EQ(takeEvents(), (Events{E::down(1), E::holdBegan(1, false), E::up(1, 0.5, false)}));
}

// --- Key combinations.

TEST_F(HotkeyServiceTest, CombinationIsTakenFromTheApplicationsAndHeldLikeAModifier) {
    service.start(Hotkey::combo(controlOptionSpace));
    EXPECT_EQ(keyboard.registeredCombinations(),
              (std::vector<Combination>{{space, controlFlag | optionFlag},
                                        {space, controlFlag | optionFlag | commandFlag}}));
    keyboard.pressCombination(space, controlFlag | optionFlag);
    scheduler.advance(0.8);
    keyboard.tap(ansiE); // a combination is not interrupted by typing
    keyboard.releaseCombination(space, controlFlag | optionFlag);
    keyboard.tap(space);
    EXPECT_EQ(takeEvents(), (Events{E::down(1), E::holdBegan(1, false), E::up(1, 0.8, false)}));
    // The edit combination is a registration of its own.
    keyboard.pressCombination(space, editOfControlOptionSpace.modifiers);
    scheduler.advance(0.2);
    keyboard.releaseCombination(space, editOfControlOptionSpace.modifiers);
    EXPECT_EQ(takeEvents(), (Events{E::down(2), E::holdBegan(2, true), E::up(2, 0.2, true)}));
    EXPECT_EQ(keyboard.typedKeys(),
              (std::vector<FakeGlobalHotkeys::TypedKey>{
                  {ansiE, controlFlag | optionFlag | leftControlBit | leftOptionBit}, {space, 0}}));
    EXPECT_TRUE(keyboard.maskedModifiers().empty()) << "taken from the app, so nothing needs masking";
}

TEST_F(HotkeyServiceTest, CombinationWithEscapeDoesNotCancelItself) {
    service.start(Hotkey::combo({escape, commandFlag}));
    keyboard.pressCombination(escape, commandFlag);
    scheduler.advance(0.5);
    keyboard.releaseCombination(escape, commandFlag);
    keyboard.tap(escape);
    EXPECT_EQ(takeEvents(), (Events{E::down(1), E::holdBegan(1, false), E::up(1, 0.5, false), E::escape()}));
}

TEST_F(HotkeyServiceTest, RefusedCombinationsSayWhy) {
    keyboard.refuse({space, controlFlag | optionFlag}, GlobalHotkeys::Refusal::taken);
    keyboard.refuse({ansiQ, commandFlag | optionFlag}, GlobalHotkeys::Refusal::noSuchKey);
    service.start(Hotkey::combo(controlOptionSpace));
    EXPECT_EQ(service.registrationError(),
              QStringLiteral("Ctrl+Alt+Space is used by another app. Pick a different shortcut."));
    EXPECT_EQ(service.editRegistrationError(), std::nullopt);
    EXPECT_TRUE(keyboard.registeredCombinations().empty())
        << "no edit shortcut for a hot key that doesn't work";

    service.setHotkey(Hotkey::combo({ansiQ, commandFlag | optionFlag}));
    EXPECT_EQ(service.registrationError(),
              QStringLiteral("Alt+Super+Q isn't on this keyboard. Pick a different shortcut."));
}

TEST_F(HotkeyServiceTest, RefusedEditCombinationLeavesTheHotkeyWorking) {
    keyboard.refuse({space, controlFlag | optionFlag | commandFlag}, GlobalHotkeys::Refusal::taken);
    service.start(Hotkey::combo(controlOptionSpace));
    EXPECT_EQ(service.registrationError(), std::nullopt);
    EXPECT_EQ(
        service.editRegistrationError(),
        QStringLiteral("Ctrl+Alt+Super+Space is used by another app, so edit mode has no shortcut. Pick a different one "
                       "to get it back."));
    keyboard.pressCombination(space, controlFlag | optionFlag);
    EXPECT_EQ(takeEvents(), (Events{E::down(1)}));
    keyboard.releaseCombination(space, controlFlag | optionFlag);

    // A combination that holds every edit modifier has no edit shortcut, and that is no error.
    service.setHotkey(Hotkey::combo({ansiK, commandFlag | optionFlag | shiftFlag}));
    EXPECT_EQ(keyboard.registeredCombinations().size(), 1u);
    EXPECT_EQ(service.editRegistrationError(), std::nullopt);
}

TEST_F(HotkeyServiceTest, GoingBackToTheOldHotkeyAfterARefusalRestoresIt) {
    keyboard.refuse({space, controlFlag | optionFlag}, GlobalHotkeys::Refusal::taken);
    service.start(Hotkey());
    service.setHotkey(Hotkey::combo(controlOptionSpace));
    ASSERT_TRUE(service.registrationError());
    service.setHotkey(Hotkey());
    EXPECT_EQ(service.registrationError(), std::nullopt);
    hold(rightOption, 0.5);
    EXPECT_EQ(takeEvents().size(), 3u);
}

// --- Lifecycle.

TEST_F(HotkeyServiceTest, OnlyStartInstallsTheHotkeyAndStartingAgainKeepsTheHeldPress) {
    service.setHotkey(Hotkey::combo(controlOptionSpace));
    EXPECT_TRUE(keyboard.registeredCombinations().empty());
    service.start(Hotkey::combo(controlOptionSpace));
    EXPECT_EQ(keyboard.registeredCombinations().size(), 2u);
    keyboard.pressCombination(space, controlFlag | optionFlag);
    scheduler.advance(0.5);
    service.start(Hotkey::combo(controlOptionSpace));
    service.setHotkey(Hotkey::combo(controlOptionSpace));
    keyboard.releaseCombination(space, controlFlag | optionFlag);
    EXPECT_EQ(takeEvents().back(), E::up(1, 0.5, false));

    service.setHotkey(Hotkey());
    EXPECT_TRUE(keyboard.registeredCombinations().empty()) << "the old combination is given back";
}

TEST_F(HotkeyServiceTest, StopRemovesEverythingAndNumberingGoesOn) {
    service.start(Hotkey::combo(controlOptionSpace));
    keyboard.pressCombination(space, controlFlag | optionFlag);
    service.stop();
    EXPECT_TRUE(keyboard.registeredCombinations().empty());
    EXPECT_FALSE(keyboard.isWatching());
    EXPECT_EQ(scheduler.pendingCount(), 0) << "no hold, poll or trust timer left behind";
    keyboard.releaseCombination(space, controlFlag | optionFlag);
    hold(rightOption, 0.5);
    EXPECT_EQ(takeEvents(), (Events{E::down(1)}));

    service.start(Hotkey());
    hold(rightOption, 0.5);
    // A press the reply loop may have consumed must never come back under the same number.
    EXPECT_EQ(takeEvents().front(), E::down(2));
}

TEST_F(HotkeyServiceTest, DestroyingTheServiceGivesEverythingBack) {
    {
        HotkeyService other({keyboard, modifiers, trust, layout, scheduler, clock});
        other.start(Hotkey::combo({ansiK, commandFlag}));
        keyboard.press(command);
        keyboard.press(ansiK);
    }
    EXPECT_TRUE(keyboard.registeredCombinations().empty());
    EXPECT_EQ(scheduler.pendingCount(), 0) << "no hold or trust timer of the dead service is left to fire";
    keyboard.release(ansiK);
}

TEST_F(HotkeyServiceTest, TrustChangesAreReportedAndTheKeyStreamIsTriedAgain) {
    std::vector<bool> reported;
    QObject::connect(&service, &HotkeyService::trustChanged, [&](bool trusted) { reported.push_back(trusted); });
    keyboard.setWatchAvailable(false);
    service.start(Hotkey());
    scheduler.advance(5);
    EXPECT_TRUE(reported.empty());

    keyboard.setWatchAvailable(true);
    trust.setTrusted(true);
    scheduler.advance(HotkeyService::trustCheckInterval);
    EXPECT_EQ(reported, std::vector<bool>{true});
    EXPECT_TRUE(service.isWatchingKeys());
    keyboard.press(rightOption);
    keyboard.tap(ansiE);
    EXPECT_EQ(takeEvents(), (Events{E::down(1), E::interrupted(1)}));
    keyboard.release(rightOption);

    trust.setTrusted(false);
    scheduler.advance(HotkeyService::trustCheckInterval * 3);
    EXPECT_EQ(reported, (std::vector<bool>{true, false}));
}

TEST_F(HotkeyServiceTest, ANewTrustInstallsTheCombinationAgainOnce) {
    service.start(Hotkey::combo(controlOptionSpace));
    trust.setTrusted(true);
    scheduler.advance(HotkeyService::trustCheckInterval);
    EXPECT_EQ(keyboard.registeredCombinations().size(), 2u);
    EXPECT_EQ(service.registrationError(), std::nullopt);
}

TEST_F(HotkeyServiceTest, AHoldGoesOnWhileTheKeyStreamIsOpenedAgainForANewTrust) {
    service.start(Hotkey());
    keyboard.press(rightOption);
    scheduler.advance(0.5);
    trust.setTrusted(true);
    scheduler.advance(HotkeyService::trustCheckInterval);
    scheduler.advance(0.5);
    keyboard.release(rightOption);
    const Events events = takeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), E::up(1, HotkeyService::trustCheckInterval + 1.0, false)) << "the release was lost";
}

} // namespace
} // namespace lumeno
