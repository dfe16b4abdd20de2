#include "foundation/KeyboardLayout.h"

#include "platform/KeyNames.h"
#include "platform/KeyboardLayoutSource.h"
#include "platform/VirtualKeyCodes.h"
#include "support/Text.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace lumeno {

namespace {

// Virtual key codes run from 0 to 0x7f; the layout is asked about each in turn.
constexpr quint16 keyCodeCount = 0x80;

// 1 for F1 ... 19 for F19.
std::optional<int> functionKeyNumber(quint16 keyCode) {
    const auto* begin = std::begin(VirtualKey::functionKeys);
    const auto* found = std::find(begin, std::end(VirtualKey::functionKeys), keyCode);
    if (found == std::end(VirtualKey::functionKeys))
        return std::nullopt;
    return int(found - begin) + 1;
}

} // namespace

quint16 KeyboardLayout::commandKeyCode(const QString& character, quint16 fallback) const {
    for (quint16 keyCode = 0; keyCode < keyCodeCount; ++keyCode) {
        const std::optional<QString> typed = source_.character(keyCode);
        if (typed && Text::equalIgnoringCase(*typed, character))
            return keyCode;
    }
    return fallback;
}

QString KeyboardLayout::displayName(quint16 keyCode) const {
    if (const auto name = roleName(keyCode))
        return *name;
    if (const auto name = KeyNames::special(keyCode))
        return *name;
    if (const auto number = functionKeyNumber(keyCode))
        return QStringLiteral("F%1").arg(*number);
    if (const auto typed = source_.character(keyCode); typed && !Text::trimmed(*typed).isEmpty())
        return Text::uppercased(*typed);
    return QStringLiteral("Key %1").arg(keyCode);
}

std::optional<QString> KeyboardLayout::roleName(quint16 keyCode) const {
    return KeyNames::role(source_.role(keyCode));
}

bool KeyboardLayout::isTypingKey(quint16 keyCode) const {
    return source_.role(keyCode) != KeyboardLayoutSource::KeyRole::ordinary;
}

bool KeyboardLayout::isFunctionKey(quint16 keyCode) {
    return functionKeyNumber(keyCode).has_value();
}

} // namespace lumeno
