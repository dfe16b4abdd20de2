#include "foundation/KeyCombo.h"

#include "foundation/KeyboardLayout.h"
#include "platform/KeyNames.h"
#include "platform/VirtualKeyCodes.h"
#include "support/Json.h"

#include <limits>

namespace lumeno {

namespace {

const QString keyCodeKey = QStringLiteral("keyCode");
const QString modifiersKey = QStringLiteral("modifiers");

} // namespace

QString KeyCombo::displayString(const KeyboardLayout& layout) const {
    return KeyNames::combination(modifiers, layout.displayName(keyCode));
}

std::optional<KeyCombo> KeyCombo::editCombo() const {
    using namespace VirtualKey;
    for (const quint64 flag : {commandFlag, optionFlag, shiftFlag})
        if (!(modifiers & flag))
            return KeyCombo{keyCode, modifiers | flag};
    return std::nullopt;
}

QJsonObject KeyCombo::toJson() const {
    return {{keyCodeKey, qint64(keyCode)}, {modifiersKey, qint64(modifiers)}};
}

std::optional<KeyCombo> KeyCombo::fromJson(const QJsonValue& json) {
    if (!json.isObject())
        return std::nullopt;
    JsonReader reader(json.toObject(), QStringLiteral("combo"));
    const qint64 keyCode = reader.integer(keyCodeKey);
    const qint64 modifiers = reader.integer(modifiersKey);
    if (!reader.ok() || keyCode < 0 || keyCode > std::numeric_limits<quint16>::max() || modifiers < 0)
        return std::nullopt;
    return KeyCombo{quint16(keyCode), quint64(modifiers)};
}

} // namespace lumeno
