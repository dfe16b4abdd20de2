// The keyboard layouts people type with, on the real X server: setxkbmap us, de and fr. Right Alt is Alt on
// the first and AltGr on the others; the hot-key service, the picker, the guide and the overlay follow.
#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/harness/DesktopUser.h"
#include "platform/linux/harness/TargetApp.h"

#include "foundation/KeyboardLayout.h"
#include "foundation/SettingsStore.h"
#include "overlay/CaptureOverlay.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/fake/FakeAccessibilityTrust.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeSecretStore.h"
#include "platform/linux/LinuxKeyboardLayoutSource.h"
#include "platform/linux/QtScreenInfo.h"
#include "platform/linux/X11GlobalHotkeys.h"
#include "platform/linux/X11ModifierState.h"
#include "platform/linux/X11PanelWindowHints.h"
#include "platform/linux/X11SyntheticKeys.h"
#include "platform/linux/XcbConnection.h"
#include "shell/GeneralSettingsView.h"
#include "shell/HowToSession.h"
#include "shell/HowToView.h"
#include "shell/KeyRow.h"
#include "support/ManualScheduler.h"
#include "testsupport/Screenshots.h"
#include "voice/HotkeyService.h"

#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QStandardItemModel>

#include <algorithm>

namespace lumeno::desktop {
namespace {

using KeyRole = KeyboardLayoutSource::KeyRole;

// X key codes of a pc105 keyboard: the letter Q on a US keyboard, the digit 0, right Ctrl.
constexpr quint8 keyQ = 24, keyZero = 19, rightCtrl = 105;

const QString altGrRefusal = QStringLiteral("On this keyboard layout Right Alt is AltGr: it types characters such "
                                            "as @ and €, so it can't be the hot key. Pick another key.");

class KeyboardLayoutDesktopTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped())
            return;
        trust.setTrusted(true);
        QObject::connect(&service, &HotkeyService::hotkeyEvent, [this](const HotkeyEvent& event) { events.push_back(event); });
        QObject::connect(&layout, &KeyboardLayoutSource::changed, [this] { ++layoutChanges; });
    }
    void TearDown() override {
        service.stop();
        if (!IsSkipped())
            setLayout(QStringLiteral("us")); // the desktop is shared by the whole binary
    }

    // Switches the X server's layout as a user would, and waits until Lumeno's side announced it.
    void setLayout(const QString& name) {
        if (name == current)
            return; // the same map again is no change, and nothing is announced
        current = name;
        const int before = layoutChanges;
        ASSERT_EQ(QProcess::execute(QStringLiteral("setxkbmap"),
                                    {QStringLiteral("-display"), QString::fromLatin1(desktop().display()), name}),
                  0);
        const KeyRole expected = name == QLatin1String("us") ? KeyRole::ordinary : KeyRole::characterShift;
        ASSERT_TRUE(waitUntil([&] { return layoutChanges > before && layout.role(VirtualKey::rightOption) == expected; }))
            << name.toStdString() << ": the new layout was never announced";
    }

    // Presses `key` and lets go the way a person does: long after the target saw the press and, with the hot
    // key watched, the key Lumeno sends so that the press is no lone Alt.
    void tapAsAPerson(const TargetApp& target, quint8 key, bool masked) {
        const auto downs = [&](bool ofKey) {
            return std::count_if(target.keys().begin(), target.keys().end(),
                                 [&](const TargetApp::Key& seen) { return seen.down && (seen.code == key) == ofKey; });
        };
        const auto pressed = downs(true), others = downs(false);
        user.press(key);
        EXPECT_TRUE(waitUntil([&] { return downs(true) > pressed && (!masked || downs(false) > others); }))
            << "the target never saw the press";
        user.release(key);
    }

    ManualClock clock;
    ManualScheduler scheduler{clock};
    std::shared_ptr<X11SyntheticKeys> synthetic = std::make_shared<X11SyntheticKeys>();
    X11GlobalHotkeys keyboard{XcbConnection::open(), synthetic};
    X11ModifierState modifiers{XcbConnection::open()};
    FakeAccessibilityTrust trust;
    LinuxKeyboardLayoutSource layout;
    KeyboardLayout keyboardLayout{layout};
    HotkeyService service{HotkeyService::Ports{keyboard, modifiers, trust, layout, scheduler, clock}};
    std::vector<HotkeyEvent> events;
    int layoutChanges = 0;
    QString current = QStringLiteral("us"); // the test desktop starts with a US layout
    DesktopUser user;
};

TEST_F(KeyboardLayoutDesktopTest, EachLayoutGetsItsDefaultHotKeyAndAltGrTypesWithoutLumenoListening) {
    struct Case {
        QString layout;
        ModifierKey defaultKey;
        quint8 atKey; // the key AltGr turns into "@"
    };
    for (const Case& each : {Case{"de", ModifierKey::rightControl, keyQ}, Case{"fr", ModifierKey::rightControl, keyZero},
                             Case{"us", ModifierKey::rightOption, 0}}) {
        SCOPED_TRACE(each.layout.toStdString());
        setLayout(each.layout);
        EXPECT_EQ(Hotkey::defaultFor(keyboardLayout), Hotkey::modifier(each.defaultKey));
        service.start(Hotkey::modifier(ModifierKey::rightOption));
        if (each.atKey == 0) {
            EXPECT_EQ(service.registrationError(), std::nullopt);
            EXPECT_EQ(keyboardLayout.displayName(VirtualKey::rightOption), "Right Alt");
            user.press(DesktopUser::rightAlt);
            EXPECT_TRUE(waitUntil([&] { return !events.empty(); })) << "on a US layout right Alt is the hot key";
            user.release(DesktopUser::rightAlt);
            service.stop();
            continue;
        }
        EXPECT_EQ(service.registrationError(), altGrRefusal);
        EXPECT_EQ(keyboardLayout.displayName(VirtualKey::rightOption), "AltGr");
        TargetApp target(TargetApp::Options{});
        ASSERT_TRUE(target.waitUntilReady());
        user.press(DesktopUser::rightAlt);
        user.tap(each.atKey);
        user.release(DesktopUser::rightAlt);
        EXPECT_TRUE(target.waitForText(QStringLiteral("@")))
            << "got: " << target.text().toStdString() << " after " << target.keys().size() << " key events";
        EXPECT_TRUE(events.empty()) << "AltGr+" << int(each.atKey) << " started Lumeno";
        service.stop();
    }
}

TEST_F(KeyboardLayoutDesktopTest, AProgramStartedOnAGermanLayoutSeesAltGrAtOnce) {
    setLayout(QStringLiteral("de"));
    const LinuxKeyboardLayoutSource started;
    EXPECT_EQ(started.role(VirtualKey::rightOption), KeyRole::characterShift);
    EXPECT_EQ(started.character(VirtualKey::ansiY), "z");
    // A recorded key is the physical one: X11 key code 29 is the key that types "z" here.
    EXPECT_EQ(started.physicalKey(29), VirtualKey::ansiY);
    EXPECT_EQ(started.physicalKey(0), std::nullopt);
}

TEST_F(KeyboardLayoutDesktopTest, AHeldHotKeyNeverOpensTheMenuOfAnAppThatActsOnALoneAlt) {
    auto target = std::make_unique<TargetApp>(TargetApp::Options{.menuOnLoneAlt = true});
    ASSERT_TRUE(target->waitUntilReady());
    // Without Lumeno, a lone Alt opens the target's menu: the test's target behaves as Firefox does.
    tapAsAPerson(*target, DesktopUser::rightAlt, false);
    ASSERT_TRUE(waitUntil([&] { return target->menuOpenings() == 1; })) << "the target ignores a lone Alt";
    target = std::make_unique<TargetApp>(TargetApp::Options{.menuOnLoneAlt = true});
    ASSERT_TRUE(target->waitUntilReady());

    service.start(Hotkey::modifier(ModifierKey::rightOption));
    ASSERT_EQ(service.registrationError(), std::nullopt);
    tapAsAPerson(*target, DesktopUser::rightAlt, true); // held, as for a dictation
    ASSERT_TRUE(waitUntil([&] { return !events.empty(); }));
    tapAsAPerson(*target, DesktopUser::rightAlt, true); // a tap, as for hands-free listening
    user.tap(DesktopUser::letterA);
    EXPECT_TRUE(target->waitForText(QStringLiteral("a"))) << "the field lost the focus";
    EXPECT_EQ(target->menuOpenings(), 0);
}

TEST_F(KeyboardLayoutDesktopTest, ThePickerTheGuideAndTheOverlayNameTheKeysOfAGermanLayout) {
    setLayout(QStringLiteral("de"));
    FakeDefaultsStore defaults;
    FakeSecretStore secrets;
    SettingsStore settings(defaults, secrets);
    settings.setHotkey(Hotkey::modifier(ModifierKey::rightOption)); // saved on a US layout
    service.start(settings.hotkey());

    GeneralSettingsView picker(
        settings, keyboardLayout, [](const Hotkey&) { return std::optional<QString>(); },
        [this](ModifierKey key) { return service.refusal(key); }, [] { return std::optional<QString>(); });
    picker.resize(560, 200);
    picker.move(40, 40);
    picker.show();
    auto* model = qobject_cast<QStandardItemModel*>(picker.findChild<QComboBox*>("replyHotkey")->model());
    EXPECT_EQ(model->item(0)->text(), "AltGr");
    EXPECT_FALSE(model->item(0)->isEnabled());
    EXPECT_EQ(picker.findChild<QLabel*>("keyNote")->text(), altGrRefusal);
    EXPECT_FALSE(screenshotOncePainted(picker, QStringLiteral("keyboard-de-picker")).isEmpty());
    picker.close();

    settings.setHotkey(Hotkey::modifier(ModifierKey::rightControl));
    HowToSession session(clock.now());
    AnimationClock animation{scheduler, clock};
    HowToView guide(session, HowToView::Services{settings, keyboardLayout, modifiers, animation});
    guide.move(40, 40);
    guide.show();
    scheduler.advance(1.2); // the demonstration holds the keys down
    const QLabel* line = guide.findChild<QLabel*>("howToLines");
    ASSERT_NE(line, nullptr);
    EXPECT_TRUE(line->text().startsWith("Hold Right Ctrl in any text field")) << line->text().toStdString();
    EXPECT_FALSE(screenshotOncePainted(guide, QStringLiteral("keyboard-de-guide")).isEmpty());

    // The edit page reaches over to right Super, next to the key this layout prints AltGr on.
    guide.next();
    scheduler.advance(1.2);
    EXPECT_TRUE(line->text().startsWith("Hold Right Ctrl and Super")) << line->text().toStdString();
    QStringList labels;
    for (const OnboardingKeyDraw& draw : guide.findChild<KeyRow*>("keyRow")->draws())
        labels << draw.label;
    EXPECT_TRUE(labels.contains("AltGr")) << labels.join(' ').toStdString();
    const QImage beforeEdit = grabScreen();
    EXPECT_FALSE(screenshotOnceChanged(QStringLiteral("keyboard-de-guide-edit"), beforeEdit).isEmpty());
    guide.close();

    QtScreenInfo screens;
    X11PanelWindowHints hints{XcbConnection::open()};
    CaptureOverlay overlay(scheduler, clock, screens, hints);
    overlay.model().setMessage(OverlayMessage{OverlayMessage::Kind::error, QStringLiteral("Pick another hot key"),
                                              service.refusal(ModifierKey::rightOption),
                                              OverlayAction::openSettings(SettingsTab::general)});
    const QImage beforeMessage = grabScreen();
    overlay.show(OverlayPhase::message);
    EXPECT_FALSE(screenshotOnceChanged(QStringLiteral("keyboard-de-message"), beforeMessage).isEmpty());
}

} // namespace
} // namespace lumeno::desktop
