#include "foundation/Hotkey.h"

#include "foundation/KeyboardLayout.h"
#include "platform/KeyNames.h"

#include <QJsonObject>

namespace lumeno {

namespace {

const QString modifierJsonKey = QStringLiteral("modifier");
const QString comboJsonKey = QStringLiteral("combo");

} // namespace

Hotkey Hotkey::defaultFor(const KeyboardLayout& layout) {
    for (const ModifierKey key : {ModifierKey::rightOption, ModifierKey::rightControl, ModifierKey::rightCommand})
        if (!layout.isTypingKey(keyCode(key)))
            return modifier(key);
    return modifier(ModifierKey::rightControl);
}

std::optional<ModifierKey> Hotkey::modifierKey() const {
    if (const auto* key = std::get_if<ModifierKey>(&value_))
        return *key;
    return std::nullopt;
}

std::optional<KeyCombo> Hotkey::keyCombo() const {
    if (const auto* combo = std::get_if<KeyCombo>(&value_))
        return *combo;
    return std::nullopt;
}

QString Hotkey::displayName(const KeyboardLayout& layout) const {
    if (const auto key = modifierKey())
        return layout.displayName(keyCode(*key));
    return keyCombo()->displayString(layout);
}

std::optional<QString> Hotkey::editDisplayName(const KeyboardLayout& layout) const {
    if (const auto key = modifierKey())
        return KeyNames::together(layout.displayName(keyCode(*key)), KeyNames::modifier(editModifier(*key)));
    if (const auto edit = keyCombo()->editCombo())
        return edit->displayString(layout);
    return std::nullopt;
}

QJsonValue Hotkey::toJson() const {
    if (const auto key = modifierKey())
        return QJsonObject{{modifierJsonKey, rawValue(*key)}};
    return QJsonObject{{comboJsonKey, keyCombo()->toJson()}};
}

std::optional<Hotkey> Hotkey::fromJson(const QJsonValue& json) {
    const QJsonObject object = json.toObject();
    if (!json.isObject() || object.size() != 1)
        return std::nullopt;
    if (const QJsonValue raw = object.value(modifierJsonKey); raw.isString()) {
        if (const auto key = fromRawValue<ModifierKey>(raw.toString()))
            return modifier(*key);
        return std::nullopt;
    }
    if (const auto combo = KeyCombo::fromJson(object.value(comboJsonKey)))
        return Hotkey::combo(*combo);
    return std::nullopt;
}

} // namespace lumeno
