#include "voice/HotkeyService.h"

#include "foundation/KeyboardLayout.h"
#include "platform/AccessibilityTrust.h"
#include "platform/KeyNames.h"
#include "platform/KeyboardLayoutSource.h"
#include "platform/ModifierState.h"
#include "platform/VirtualKeyCodes.h"

namespace lumeno {

namespace {

constexpr quint64 comboModifiers =
    VirtualKey::commandFlag | VirtualKey::optionFlag | VirtualKey::controlFlag | VirtualKey::shiftFlag;

QString unreportedModifierMessage(ModifierKey key, const KeyboardLayout& layout) {
    if (key == ModifierKey::fn)
        return QStringLiteral("Fn never reaches Lumeno on this desktop: the keyboard keeps it to itself. "
                              "Pick another key.");
    return QStringLiteral("This desktop doesn't tell Lumeno when %1 is held. Pick another key.")
        .arg(layout.displayName(keyCode(key)));
}

// A key the layout types with: pressing it for @ or é would start listening every time.
std::optional<QString> typingKeyMessage(ModifierKey key, const KeyboardLayoutSource& source) {
    using KeyRole = KeyboardLayoutSource::KeyRole;
    const quint16 code = keyCode(key);
    const QString place = KeyNames::special(code).value_or(QString());
    const QString role = KeyNames::role(source.role(code)).value_or(QString());
    switch (source.role(code)) {
    case KeyRole::characterShift:
        return QStringLiteral("On this keyboard layout %1 is %2: it types characters such as @ and €, so it can't "
                              "be the hot key. Pick another key.")
            .arg(place, role);
    case KeyRole::compose:
        return QStringLiteral("On this keyboard layout %1 is %2: it starts characters such as é and ß, so it can't "
                              "be the hot key. Pick another key.")
            .arg(place, role);
    case KeyRole::inputSwitch:
        return QStringLiteral("On this keyboard layout %1 switches the input language, so it can't be the hot key. "
                              "Pick another key.")
            .arg(place);
    case KeyRole::ordinary:
        break;
    }
    return std::nullopt;
}

QString refusedCombinationMessage(GlobalHotkeys::Refusal refusal, const QString& name) {
    switch (refusal) {
    case GlobalHotkeys::Refusal::taken:
        return QStringLiteral("%1 is used by another app. Pick a different shortcut.").arg(name);
    case GlobalHotkeys::Refusal::noSuchKey:
        return QStringLiteral("%1 isn't on this keyboard. Pick a different shortcut.").arg(name);
    case GlobalHotkeys::Refusal::unavailable:
        break;
    }
    return QStringLiteral("This desktop doesn't let Lumeno watch the keyboard, so %1 can't be the hot key.")
        .arg(name);
}

} // namespace

HotkeyService::HotkeyService(Ports ports, QObject* parent)
    : QObject(parent), ports_(ports), tracker_(ports.scheduler, ports.clock) {
    tracker_.onEvent = [this](const HotkeyEvent& event) {
        // The application in front saw the key go down too. Held alone and let go, Alt would open its menu
        // bar and take the focus from the field the reply is for: a key under it makes it a chord.
        if (event.kind == HotkeyEvent::Kind::down && modifierWatch_)
            ports_.hotkeys.maskHeldModifiers();
        emit hotkeyEvent(event);
    };
}

HotkeyService::~HotkeyService() {
    stop();
}

void HotkeyService::start(const Hotkey& hotkey) {
    if (started_) {
        setHotkey(hotkey);
        return;
    }
    started_ = true;
    hotkey_ = hotkey;
    trusted_ = ports_.trust.isTrusted();
    trustTimer_ = ports_.scheduler.every(trustCheckInterval, [this] { checkTrust(); });
    layoutWatch_ = QObject::connect(&ports_.layout, &KeyboardLayoutSource::changed, [this] { layoutChanged(); });
    install();
    reportLayoutRefusal();
}

void HotkeyService::setHotkey(const Hotkey& hotkey) {
    if (hotkey == hotkey_)
        return;
    hotkey_ = hotkey;
    if (!started_)
        return;
    uninstall();
    install();
}

void HotkeyService::stop() {
    if (!started_)
        return;
    uninstall();
    ports_.scheduler.cancel(*std::exchange(trustTimer_, std::nullopt));
    QObject::disconnect(layoutWatch_);
    started_ = false;
}

std::optional<QString> HotkeyService::refusal(ModifierKey key) const {
    if (!ports_.hotkeys.reportsModifier(ModifierWatch::keyBit(key)))
        return unreportedModifierMessage(key, KeyboardLayout(ports_.layout));
    return typingKeyMessage(key, ports_.layout);
}

void HotkeyService::install() {
    registrationError_.reset();
    editRegistrationError_.reset();
    refusedByLayout_ = false;
    if (const auto key = hotkey_.modifierKey())
        installModifier(*key);
    else
        installCombination(*hotkey_.keyCombo());
}

void HotkeyService::uninstall(bool keepPress) {
    for (const auto id : registrations_)
        ports_.hotkeys.unregister(id);
    registrations_.clear();
    ownCombinations_.clear();
    if (std::exchange(watchingKeys_, false))
        ports_.hotkeys.unwatch();
    if (pollTimer_)
        ports_.scheduler.cancel(*std::exchange(pollTimer_, std::nullopt));
    if (!keepPress)
        tracker_.reset();
    modifierWatch_.reset();
}

void HotkeyService::installModifier(ModifierKey key) {
    registrationError_ = refusal(key);
    if (registrationError_) {
        refusedByLayout_ = ports_.hotkeys.reportsModifier(ModifierWatch::keyBit(key));
        return;
    }
    modifierWatch_.emplace(key, tracker_, ports_.modifiers.flags());
    // Without the desktop's key stream, polling still sees the key itself, though not typing or Escape.
    if (!watchKeys(true))
        pollTimer_ = ports_.scheduler.every(modifierPollInterval,
                                            [this] { modifierWatch_->update(ports_.modifiers.flags()); });
}

void HotkeyService::installCombination(const KeyCombo& combo) {
    const KeyboardLayout layout(ports_.layout);
    if (const auto refusal = registerCombination(combo, false)) {
        registrationError_ = refusedCombinationMessage(*refusal, combo.displayString(layout));
        return;
    }
    if (const auto edit = combo.editCombo(); edit && registerCombination(*edit, true))
        editRegistrationError_ = edit->displayString(layout) +
                                 QStringLiteral(" is used by another app, so edit mode has no shortcut. "
                                                "Pick a different one to get it back.");
    watchKeys(false); // for Escape
}

std::optional<GlobalHotkeys::Refusal> HotkeyService::registerCombination(const KeyCombo& combo, bool edit) {
    const auto registration =
        ports_.hotkeys.registerCombination(combo.keyCode, combo.modifiers,
                                           [this, edit](bool down, GlobalHotkeys::KeyTime time) {
                                               if (down)
                                                   tracker_.keyDown(edit, false, time);
                                               else
                                                   tracker_.keyUp(time);
                                           });
    if (const auto* refusal = std::get_if<GlobalHotkeys::Refusal>(&registration))
        return *refusal;
    registrations_.push_back(std::get<GlobalHotkeys::RegistrationId>(registration));
    ownCombinations_.push_back(combo);
    return std::nullopt;
}

bool HotkeyService::watchKeys(bool withModifiers) {
    GlobalHotkeys::KeyWatch watch;
    watch.modifiersChanged = [this, withModifiers](quint64 modifiers, GlobalHotkeys::KeyTime time) {
        if (withModifiers)
            modifierWatch_->update(modifiers, time);
    };
    watch.keyDown = [this](quint16 keyCode, quint64 modifiers) { keyDown(keyCode, modifiers); };
    watchingKeys_ = ports_.hotkeys.watch(std::move(watch));
    return watchingKeys_;
}

void HotkeyService::keyDown(quint16 keyCode, quint64 modifiers) {
    // A registered combination reports itself; the key stream may show it too (Super+Esc must not cancel).
    if (isOwnCombination(keyCode, modifiers))
        return;
    if (keyCode == VirtualKey::escape)
        tracker_.escape();
    else
        tracker_.otherKeyDown();
}

bool HotkeyService::isOwnCombination(quint16 keyCode, quint64 modifiers) const {
    return std::any_of(ownCombinations_.begin(), ownCombinations_.end(), [&](const KeyCombo& combo) {
        return combo.keyCode == keyCode && (combo.modifiers & comboModifiers) == (modifiers & comboModifiers);
    });
}

void HotkeyService::layoutChanged() {
    // Only a single key depends on the layout: a combination's grab is by key, whatever it types. A key
    // whose fate did not change keeps its watch, and a press it is in the middle of.
    const std::optional<ModifierKey> key = hotkey_.modifierKey();
    if (!started_ || !key || refusal(*key) == registrationError_)
        return;
    const bool wasRefused = refusedByLayout_;
    uninstall();
    install();
    if (!wasRefused)
        reportLayoutRefusal();
}

void HotkeyService::reportLayoutRefusal() {
    if (refusedByLayout_)
        emit refusedByLayout(*registrationError_);
}

QCoro::Task<> HotkeyService::checkTrust() {
    // One question to the desktop at a time: a bus that answers slowly is not asked again meanwhile.
    if (checkingTrust_)
        co_return;
    checkingTrust_ = true;
    const std::weak_ptr<bool> alive = alive_;
    const bool trusted = co_await ports_.trust.checkTrust();
    if (alive.expired())
        co_return;
    checkingTrust_ = false;
    if (!started_ || trusted == trusted_)
        co_return;
    trusted_ = trusted;
    // Some desktops open their key stream only to trusted programs: watch again with what is allowed now.
    // The user may be holding the key meanwhile (the first check often answers during the first press).
    uninstall(true);
    install();
    emit trustChanged(trusted);
}

} // namespace lumeno
