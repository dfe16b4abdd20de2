#include "platform/KeyNames.h"

#include "platform/VirtualKeyCodes.h"

#include <utility>

namespace lumeno {

namespace {

using namespace VirtualKey;

// The words desktop shortcut editors and PC keyboards use. The key Apple calls delete is Backspace here,
// its forward delete is Delete, and the keypad's Clear sits where Num Lock is.
constexpr std::pair<quint16, const char16_t*> specialNames[] = {
    {returnKey, u"Return"},
    {tab, u"Tab"},
    {space, u"Space"},
    {deleteKey, u"Backspace"},
    {escape, u"Esc"},
    {forwardDelete, u"Delete"},
    {leftArrow, u"Left"},
    {rightArrow, u"Right"},
    {downArrow, u"Down"},
    {upArrow, u"Up"},
    {home, u"Home"},
    {end, u"End"},
    {pageUp, u"Page Up"},
    {pageDown, u"Page Down"},
    {help, u"Help"},
    {keypadEnter, u"Keypad Enter"},
    {keypadClear, u"Num Lock"},
    {capsLock, u"Caps Lock"},
    {command, u"Super"},
    {rightCommand, u"Right Super"},
    {shift, u"Shift"},
    {rightShift, u"Right Shift"},
    {option, u"Alt"},
    {rightOption, u"Right Alt"},
    {control, u"Ctrl"},
    {rightControl, u"Right Ctrl"},
    {function, u"Fn"},
    {volumeUp, u"Volume Up"},
    {volumeDown, u"Volume Down"},
    {mute, u"Mute"},
};

// The order desktop shortcut editors write held modifiers in.
constexpr std::pair<quint64, const char16_t*> modifierNames[] = {
    {controlFlag, u"Ctrl"},
    {optionFlag, u"Alt"},
    {shiftFlag, u"Shift"},
    {commandFlag, u"Super"},
};

} // namespace

std::optional<QString> KeyNames::special(quint16 keyCode) {
    for (const auto& [code, name] : specialNames)
        if (code == keyCode)
            return QString::fromUtf16(name);
    return std::nullopt;
}

std::optional<QString> KeyNames::role(KeyboardLayoutSource::KeyRole role) {
    using KeyRole = KeyboardLayoutSource::KeyRole;
    switch (role) {
    case KeyRole::characterShift: return QStringLiteral("AltGr");
    case KeyRole::compose: return QStringLiteral("Compose");
    case KeyRole::inputSwitch: return QStringLiteral("Layout Switch");
    case KeyRole::ordinary: break;
    }
    return std::nullopt;
}

QString KeyNames::modifier(quint64 flag) {
    for (const auto& [candidate, name] : modifierNames)
        if (candidate == flag)
            return QString::fromUtf16(name);
    return {};
}

QString KeyNames::combination(quint64 modifiers, const QString& keyName) {
    QString text;
    for (const auto& [flag, name] : modifierNames)
        if (modifiers & flag)
            text += QString::fromUtf16(name) + u'+';
    return text + keyName;
}

QString KeyNames::together(const QString& first, const QString& second) {
    return first + u'+' + second;
}

} // namespace lumeno
