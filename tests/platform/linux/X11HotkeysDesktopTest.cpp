#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/harness/DesktopUser.h"
#include "platform/linux/harness/TargetApp.h"

#include "platform/VirtualKeyCodes.h"
#include "platform/fake/FakeAccessibilityTrust.h"
#include "platform/linux/LinuxKeyboardLayoutSource.h"
#include "platform/linux/X11GlobalHotkeys.h"
#include "platform/linux/X11KeySynth.h"
#include "platform/linux/X11ModifierState.h"
#include "platform/linux/X11SyntheticKeys.h"
#include "platform/linux/XcbConnection.h"
#include "support/ManualScheduler.h"
#include "voice/HotkeyEventPrinting.h"
#include "voice/HotkeyService.h"
#include "voice/PressTracker.h"

#include <QElapsedTimer>

namespace lumeno::desktop {
namespace {

using namespace VirtualKey;
using Key = TargetApp::Key;

// The keyboard focus of one window as the X server tells it to the window's own toolkit, watched on a
// connection of the test's own.
class FocusWatch {
public:
    explicit FocusWatch(xcb_window_t window) : x_(XcbConnection::open()) {
        const uint32_t mask = XCB_EVENT_MASK_FOCUS_CHANGE;
        xcb_change_window_attributes(x_->get(), window, XCB_CW_EVENT_MASK, &mask);
        x_->addListener([this](const xcb_generic_event_t& event) {
            const quint8 type = event.response_type & 0x7f;
            // The pointer's own comings and goings say nothing about the keyboard.
            if ((type == XCB_FOCUS_IN || type == XCB_FOCUS_OUT) &&
                reinterpret_cast<const xcb_focus_in_event_t&>(event).detail != XCB_NOTIFY_DETAIL_POINTER)
                hasFocus_ = type == XCB_FOCUS_IN;
        });
        // The answer comes after the selection took effect, so no later event is missed.
        const auto focus = x_->reply(xcb_get_input_focus_reply, xcb_get_input_focus(x_->get()));
        inputFocus_ = focus ? focus->focus : XCB_NONE;
    }

    xcb_window_t inputFocusAtStart() const { return inputFocus_; }
    // Whether the last word the window got was that it has the focus (or it got none since the start).
    bool hasFocus() const { return hasFocus_; }

private:
    std::shared_ptr<XcbConnection> x_;
    xcb_window_t inputFocus_ = XCB_NONE;
    bool hasFocus_ = true;
};

// The real hot-key service on the X server's keyboard, with the user's keys sent through XTest and an
// application in front that must keep getting them.
class X11HotkeysTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped())
            return;
        target = std::make_unique<TargetApp>(TargetApp::Options{});
        ASSERT_TRUE(target->waitUntilReady());
        keyboardConnection = XcbConnection::open();
        keyboard = std::make_unique<X11GlobalHotkeys>(keyboardConnection, synthetic);
        modifiers = std::make_unique<X11ModifierState>(XcbConnection::open());
        service = std::make_unique<HotkeyService>(
            HotkeyService::Ports{*keyboard, *modifiers, trust, layout, scheduler, clock});
        QObject::connect(service.get(), &HotkeyService::hotkeyEvent, [this](HotkeyEvent event) {
            // How long a key was held is the server's to say: kept apart, so the events compare exactly.
            if (event.kind == HotkeyEvent::Kind::up)
                heldSeconds.push_back(std::exchange(event.heldFor, 0));
            events.push_back(event);
            lastEventNs = stopwatch.nsecsElapsed();
        });
        stopwatch.start();
        trust.setTrusted(true);
    }
    void TearDown() override {
        service.reset();
        keyboard.reset();
    }

    bool waitForEvents(size_t count) {
        return waitUntil([&] { return events.size() >= count; });
    }
    // Escape marks the end of a sequence: once it is seen, everything before it was seen too.
    std::vector<HotkeyEvent> eventsUpToEscape() {
        user.tap(DesktopUser::escape);
        waitUntil([&] { return !events.empty() && events.back() == HotkeyEvent::escape(); });
        std::vector<HotkeyEvent> seen = std::exchange(events, {});
        if (!seen.empty() && seen.back() == HotkeyEvent::escape())
            seen.pop_back();
        return seen;
    }
    // The keys the target got, or only those the user typed (without the key the service masks with).
    enum Filter { allKeys, userKeysOnly };
    std::vector<Key> targetKeys(Filter filter) const {
        std::vector<Key> keys = target->keys();
        if (filter == userKeysOnly)
            std::erase_if(keys, [](const Key& key) {
                return key.code != DesktopUser::rightAlt && key.code != DesktopUser::letterA &&
                       key.code != DesktopUser::escape;
            });
        return keys;
    }
    bool targetGot(std::vector<Key> keys, Filter filter = allKeys) {
        return waitUntil([&] {
            const std::vector<Key> got = targetKeys(filter);
            return std::search(got.begin(), got.end(), keys.begin(), keys.end()) != got.end();
        });
    }
    // Until the target got `count` presses of a key the user never typed: the service's masking key.
    bool waitForMaskingKeys(size_t count) {
        return waitUntil([&] {
            const std::vector<Key> all = targetKeys(allKeys), typed = targetKeys(userKeysOnly);
            return size_t(std::count_if(all.begin(), all.end(), [](const Key& key) { return key.down; }) -
                          std::count_if(typed.begin(), typed.end(), [](const Key& key) { return key.down; })) >= count;
        });
    }
    // Whether the target saw right Alt go down and up with no other key between: what menu bars act on.
    bool sawALoneAlt() const {
        const std::vector<Key>& keys = target->keys();
        for (size_t i = 0; i + 1 < keys.size(); ++i)
            if (keys[i] == Key{DesktopUser::rightAlt, true} && keys[i + 1] == Key{DesktopUser::rightAlt, false})
                return true;
        return false;
    }

    // The user's hands on Ctrl+Alt+K, the combination the tests take (with Super: its edit combination).
    void pressCtrlAltK() {
        user.press(DesktopUser::leftControl);
        user.press(DesktopUser::leftAlt);
        user.press(DesktopUser::letterK);
    }
    void releaseCtrlAltK() {
        user.release(DesktopUser::letterK);
        user.release(DesktopUser::leftAlt);
        user.release(DesktopUser::leftControl);
    }

    ManualClock clock;
    ManualScheduler scheduler{clock};
    std::shared_ptr<XcbConnection> keyboardConnection;
    std::shared_ptr<X11SyntheticKeys> synthetic = std::make_shared<X11SyntheticKeys>();
    std::unique_ptr<X11GlobalHotkeys> keyboard;
    std::unique_ptr<X11ModifierState> modifiers;
    FakeAccessibilityTrust trust;
    LinuxKeyboardLayoutSource layout;
    std::unique_ptr<HotkeyService> service;
    std::vector<HotkeyEvent> events;
    std::vector<double> heldSeconds; // of each release, in order
    QElapsedTimer stopwatch;
    qint64 lastEventNs = 0;
    DesktopUser user;
    std::unique_ptr<TargetApp> target;
};

TEST_F(X11HotkeysTest, RightAltHeldTappedAndTypedWithDrivesTheServiceWhileTheTargetGetsEveryKey) {
    service->start(Hotkey::modifier(ModifierKey::rightOption));
    ASSERT_EQ(service->registrationError(), std::nullopt);
    ASSERT_TRUE(service->isWatchingKeys());

    const qint64 sentNs = stopwatch.nsecsElapsed();
    user.press(DesktopUser::rightAlt);
    ASSERT_TRUE(waitForEvents(1));
    // Reported, never asserted: a figure for the notes, not a pass mark.
    RecordProperty("rightAltToEventMs", QString::number((lastEventNs - sentNs) / 1e6, 'f', 2).toStdString());
    std::printf("Right Alt down to hot-key event: %.2f ms\n", (lastEventNs - sentNs) / 1e6);
    scheduler.advance(PressTracker::holdDelay);
    // Held half a second by the server's clock while the program's own stands still: the release still
    // tells the whole hold, as it must after the program was stopped while the key was down.
    user.releaseAfter(DesktopUser::rightAlt, 500);
    ASSERT_TRUE(waitForEvents(3));
    EXPECT_EQ(events, (std::vector{HotkeyEvent::down(1), HotkeyEvent::holdBegan(1, false),
                                   HotkeyEvent::up(1, 0, false)}));
    ASSERT_EQ(heldSeconds.size(), 1u);
    EXPECT_GE(heldSeconds[0], 0.5);
    EXPECT_LT(heldSeconds[0], 60.0);
    events.clear();

    // A tap (hands-free listening), and typing with the key held (Alt+A), which is not a press. A person's
    // tap lasts tens of milliseconds, long after the masking key reached the application.
    user.press(DesktopUser::rightAlt);
    ASSERT_TRUE(waitForEvents(1));
    ASSERT_TRUE(waitForMaskingKeys(2));
    user.release(DesktopUser::rightAlt);
    user.press(DesktopUser::rightAlt);
    ASSERT_TRUE(waitForEvents(3));
    ASSERT_TRUE(waitForMaskingKeys(3));
    user.tap(DesktopUser::letterA);
    user.release(DesktopUser::rightAlt);
    EXPECT_EQ(eventsUpToEscape(), (std::vector{HotkeyEvent::down(2), HotkeyEvent::up(2, 0, false),
                                               HotkeyEvent::down(3), HotkeyEvent::interrupted(3)}));

    const Key altDown{DesktopUser::rightAlt, true}, altUp{DesktopUser::rightAlt, false};
    EXPECT_TRUE(targetGot({altDown, altUp, altDown, altUp, altDown, {DesktopUser::letterA, true},
                           {DesktopUser::letterA, false}, altUp}, userKeysOnly))
        << "nothing is grabbed: the application still sees the hot key and the typing";
    EXPECT_FALSE(sawALoneAlt()) << "every press reached the application as a chord";
}

TEST_F(X11HotkeysTest, ACombinationIsTakenFromTheTargetWithCapsLockOnOrOff) {
    service->start(Hotkey::combo(KeyCombo{ansiK, controlFlag | optionFlag}));
    ASSERT_EQ(service->registrationError(), std::nullopt);
    ASSERT_EQ(service->editRegistrationError(), std::nullopt);

    for (const bool capsLock : {false, true}) {
        if (capsLock)
            user.tap(DesktopUser::capsLock);
        pressCtrlAltK();
        ASSERT_TRUE(waitForEvents(1)) << "CapsLock " << capsLock;
        scheduler.advance(PressTracker::holdDelay);
        user.releaseAfter(DesktopUser::letterK, 400); // a hold by the server's clock, not the program's
        user.release(DesktopUser::leftAlt);
        user.release(DesktopUser::leftControl);
        if (capsLock)
            user.tap(DesktopUser::capsLock);
        const quint64 press = capsLock ? 2 : 1;
        EXPECT_EQ(eventsUpToEscape(), (std::vector{HotkeyEvent::down(press), HotkeyEvent::holdBegan(press, false),
                                                   HotkeyEvent::up(press, 0, false)}))
            << "CapsLock " << capsLock;
        ASSERT_EQ(heldSeconds.size(), press);
        EXPECT_GE(heldSeconds.back(), 0.4) << "CapsLock " << capsLock;
    }
    ASSERT_TRUE(targetGot({{DesktopUser::escape, true}}));
    for (const Key& key : target->keys())
        EXPECT_NE(key.code, DesktopUser::letterK) << "the grabbed key reached the application";
}

TEST_F(X11HotkeysTest, AHeldCombinationLeavesTheFocusWithTheApplicationThroughKeyRepeatAndFreesTheKeyboard) {
    service->start(Hotkey::combo(KeyCombo{ansiK, controlFlag | optionFlag}));
    ASSERT_EQ(service->registrationError(), std::nullopt);
    const FocusWatch focus(target->window());
    ASSERT_EQ(focus.inputFocusAtStart(), target->window());
    // The keys the program is given while it holds the keyboard, repeats included.
    std::vector<Key> given;
    const int counting = keyboardConnection->addListener([&](const xcb_generic_event_t& event) {
        const quint8 type = event.response_type & 0x7f;
        if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE)
            given.push_back(
                {reinterpret_cast<const xcb_key_press_event_t&>(event).detail, type == XCB_KEY_PRESS});
    });
    const auto wasGiven = [&](const Key& key) { return std::count(given.begin(), given.end(), key); };

    pressCtrlAltK();
    ASSERT_TRUE(waitForEvents(1));
    // Held past the server's repeat delay, the key repeats: each repeat is a press of its own.
    EXPECT_TRUE(waitUntil([&] { return wasGiven({DesktopUser::letterK, true}) >= 3; }));
    EXPECT_TRUE(focus.hasFocus()) << "the application was told it lost the keyboard while the key was held";
    scheduler.advance(PressTracker::holdDelay);
    // Alt let go first: the hold goes on until the key itself is let go, a second later.
    user.release(DesktopUser::leftAlt);
    ASSERT_TRUE(waitUntil([&] { return wasGiven({DesktopUser::leftAlt, false}) == 1; }));
    clock.advance(1.0);
    user.release(DesktopUser::letterK);
    user.release(DesktopUser::leftControl);
    keyboardConnection->removeListener(counting);

    user.tap(DesktopUser::letterA);
    EXPECT_TRUE(targetGot({{DesktopUser::letterA, true}, {DesktopUser::letterA, false}}))
        << "the keyboard stayed held";
    EXPECT_EQ(eventsUpToEscape(), (std::vector{HotkeyEvent::down(1), HotkeyEvent::holdBegan(1, false),
                                               HotkeyEvent::up(1, 0, false)}));
    EXPECT_TRUE(focus.hasFocus());

    // The edit combination, the same key under Super as well, gives presses of its own kind, one after the
    // other.
    for (const quint64 press : {2, 3}) {
        user.press(DesktopUser::leftSuper);
        pressCtrlAltK();
        ASSERT_TRUE(waitForEvents(1)) << "press " << press;
        scheduler.advance(PressTracker::holdDelay);
        releaseCtrlAltK();
        user.release(DesktopUser::leftSuper);
        EXPECT_EQ(eventsUpToEscape(),
                  (std::vector{HotkeyEvent::down(press), HotkeyEvent::holdBegan(press, true),
                               HotkeyEvent::up(press, 0, true)}));
    }
    for (const Key& key : target->keys())
        EXPECT_NE(key.code, DesktopUser::letterK) << "the grabbed key reached the application";
}

TEST_F(X11HotkeysTest, AHoldWhoseWindowClosesStillEndsWithTheRelease) {
    service->start(Hotkey::combo(KeyCombo{ansiK, controlFlag | optionFlag}));
    pressCtrlAltK();
    ASSERT_TRUE(waitForEvents(1));
    scheduler.advance(PressTracker::holdDelay);
    target.reset(); // its window goes, and the keyboard held on it with it
    releaseCtrlAltK();
    EXPECT_EQ(eventsUpToEscape(), (std::vector{HotkeyEvent::down(1), HotkeyEvent::holdBegan(1, false),
                                               HotkeyEvent::up(1, 0, false)}));
}

TEST_F(X11HotkeysTest, AHoldGoesOnThroughKeyRepeatWhileANewTrustRegistersTheCombinationAgain) {
    service->start(Hotkey::combo(KeyCombo{ansiK, controlFlag | optionFlag}));
    int presses = 0; // of K given to the program, repeats included
    const int counting = keyboardConnection->addListener([&](const xcb_generic_event_t& event) {
        if ((event.response_type & 0x7f) == XCB_KEY_PRESS &&
            reinterpret_cast<const xcb_key_press_event_t&>(event).detail == DesktopUser::letterK)
            ++presses;
    });
    pressCtrlAltK();
    ASSERT_TRUE(waitForEvents(1));
    scheduler.advance(PressTracker::holdDelay);
    trust.setTrusted(false); // the first check of trust often answers during the first press
    scheduler.advance(HotkeyService::trustCheckInterval);
    const int before = presses;
    EXPECT_TRUE(waitUntil([&] { return presses >= before + 2; })) << "the key never repeated";
    keyboardConnection->removeListener(counting);
    releaseCtrlAltK();
    user.tap(DesktopUser::letterA);
    EXPECT_TRUE(targetGot({{DesktopUser::letterA, true}, {DesktopUser::letterA, false}}))
        << "the keyboard stayed held";
    EXPECT_EQ(eventsUpToEscape(),
              (std::vector{
                  HotkeyEvent::down(1), HotkeyEvent::holdBegan(1, false),
                  HotkeyEvent::up(1, 0, false)}));
}

TEST_F(X11HotkeysTest, ACombinationGivenUpWhileHeldFreesTheKeyboard) {
    service->start(Hotkey::combo(KeyCombo{ansiK, controlFlag | optionFlag}));
    pressCtrlAltK();
    ASSERT_TRUE(waitForEvents(1));
    service->stop(); // as when the user picks another hot key meanwhile
    releaseCtrlAltK();
    user.tap(DesktopUser::letterA);
    EXPECT_TRUE(targetGot({{DesktopUser::letterA, true}, {DesktopUser::letterA, false}}))
        << "the keyboard stayed held";
}

TEST_F(X11HotkeysTest, ASecondClaimOnTheSameCombinationIsRefusedUntilTheFirstLetsGo) {
    service->start(Hotkey::combo(KeyCombo{ansiK, controlFlag | optionFlag}));
    ASSERT_EQ(service->registrationError(), std::nullopt);

    // Another program on its own connection, as another application would be.
    X11GlobalHotkeys other(XcbConnection::open(), std::make_shared<X11SyntheticKeys>());
    HotkeyService rival(HotkeyService::Ports{other, *modifiers, trust, layout, scheduler, clock});
    rival.start(Hotkey::combo(KeyCombo{ansiK, controlFlag | optionFlag}));
    ASSERT_TRUE(rival.registrationError());
    EXPECT_TRUE(rival.registrationError()->endsWith(QLatin1String("is used by another app. Pick a different shortcut.")))
        << rival.registrationError()->toStdString();
    rival.stop();

    service->stop();
    const GlobalHotkeys::Registration free = other.registerCombination(ansiK, controlFlag | optionFlag,
                                                                       [](bool, GlobalHotkeys::KeyTime) {});
    EXPECT_TRUE(std::holds_alternative<GlobalHotkeys::RegistrationId>(free)) << "the first program's grabs are gone";
}

TEST_F(X11HotkeysTest, OurOwnSyntheticKeysDoNotInterruptAHold) {
    service->start(Hotkey::modifier(ModifierKey::rightOption));
    X11KeySynth keys(XcbConnection::open(), synthetic, scheduler);
    user.press(DesktopUser::rightAlt);
    ASSERT_TRUE(waitForEvents(1));
    scheduler.advance(PressTracker::holdDelay);

    // Select-all while the hot key is held: the keys wait for the modifier, then release it themselves.
    ASSERT_TRUE(keys.post(KeySynth::Key::selectAll));
    scheduler.advance(X11KeySynth::releaseWait);
    ASSERT_TRUE(targetGot({{DesktopUser::letterA, true}, {DesktopUser::letterA, false}}));
    EXPECT_EQ(eventsUpToEscape(), (std::vector{HotkeyEvent::down(1), HotkeyEvent::holdBegan(1, false)}))
        << "Ctrl+A and the release of right Alt came from Lumeno, not from the user";
}

} // namespace
} // namespace lumeno::desktop
