#include "foundation/ModifierKey.h"

#include "platform/VirtualKeyCodes.h"

#include <array>
#include <utility>

namespace lumeno {

namespace {

constexpr std::array<std::pair<ModifierKey, const char*>, 4> rawValues = {{
    {ModifierKey::rightOption, "rightOption"},
    {ModifierKey::rightCommand, "rightCommand"},
    {ModifierKey::rightControl, "rightControl"},
    {ModifierKey::fn, "fn"},
}};

} // namespace

quint16 keyCode(ModifierKey key) {
    switch (key) {
    case ModifierKey::rightOption:
        return VirtualKey::rightOption;
    case ModifierKey::rightCommand:
        return VirtualKey::rightCommand;
    case ModifierKey::rightControl:
        return VirtualKey::rightControl;
    case ModifierKey::fn:
        return VirtualKey::function;
    }
    return VirtualKey::function;
}

quint64 editModifier(ModifierKey key) {
    return key == ModifierKey::rightCommand ? VirtualKey::optionFlag : VirtualKey::commandFlag;
}

QString rawValue(ModifierKey key) {
    for (const auto& [candidate, raw] : rawValues)
        if (candidate == key)
            return QString::fromLatin1(raw);
    return {};
}

std::optional<ModifierKey> modifierKeyFromRawValue(const QString& raw) {
    for (const auto& [key, candidate] : rawValues)
        if (raw == QLatin1StringView(candidate))
            return key;
    return std::nullopt;
}

} // namespace lumeno
