#include "foundation/ModifierKey.h"

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

QString displayName(ModifierKey key) {
    switch (key) {
    case ModifierKey::rightOption:
        return QStringLiteral("Right ⌥");
    case ModifierKey::rightCommand:
        return QStringLiteral("Right ⌘");
    case ModifierKey::rightControl:
        return QStringLiteral("Right ⌃");
    case ModifierKey::fn:
        return QStringLiteral("fn");
    }
    return {};
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
