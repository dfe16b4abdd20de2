#include "shell/OnboardingKeyboard.h"

#include "foundation/KeyboardLayout.h"
#include "platform/VirtualKeyCodes.h"
#include "shell/OnboardingKeys.h"

#include <QLineF>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace lumeno {

namespace {

using Kind = KeySpot::Kind;

constexpr double pitch = 1.15, gap = 0.15;
constexpr double modifierWidth = 1.15, spaceWidth = 6.1;

void addRow(std::vector<OnboardingKey>& keys, const QString& labels, double x, double y) {
    for (const QString& label : labels.split(QLatin1Char(' '))) {
        keys.push_back({KeySpot::named(label), label, x, y, 1.0, 1.0});
        x += pitch;
    }
}

std::vector<OnboardingKey> layout() {
    std::vector<OnboardingKey> keys;
    addRow(keys, QStringLiteral("Q W E R T Y U I O P"), 0.3, 0);
    addRow(keys, QStringLiteral("A S D F G H J K L"), 0.7, 1.15);
    keys.push_back({KeySpot::of(Kind::shiftLeft), QStringLiteral("Shift"), 0, 2.3, 1.7, 1});
    addRow(keys, QStringLiteral("Z X C V B N M , . /"), 1.85, 2.3);
    keys.push_back({KeySpot::of(Kind::shiftRight), QStringLiteral("Shift"), 13.35, 2.3, 1.85, 1});
    // A PC's bottom row: eight keys of equal width around a shorter space bar, as wide as the rows above.
    const std::pair<Kind, QString> bottomRow[] = {
        {Kind::controlLeft, QStringLiteral("Ctrl")}, {Kind::superLeft, QStringLiteral("Super")},
        {Kind::altLeft, QStringLiteral("Alt")},       {Kind::space, QString()},
        {Kind::altRight, QStringLiteral("Alt")},      {Kind::superRight, QStringLiteral("Super")},
        {Kind::menu, QStringLiteral("Menu")},         {Kind::controlRight, QStringLiteral("Ctrl")},
    };
    double x = 0;
    for (const auto& [kind, label] : bottomRow) {
        const double width = kind == Kind::space ? spaceWidth : modifierWidth;
        keys.push_back({KeySpot::of(kind), label, x, 3.45, width, 1});
        x += width + gap;
    }
    return keys;
}

const OnboardingKey* firstKey(const KeySpot& spot) {
    const auto& keys = OnboardingKeyboard::keys();
    const auto found = std::find_if(keys.begin(), keys.end(), [&](const OnboardingKey& key) { return key.spot == spot; });
    return found == keys.end() ? nullptr : &*found;
}

double between(const OnboardingKey& a, const OnboardingKey& b) {
    return QLineF(a.center(), b.center()).length();
}

// The right Alt key reads AltGr where the layout makes it one, as printed on those keyboards.
QString printedLabel(const OnboardingKey& key, const KeyboardLayout& layout) {
    if (key.spot.kind == Kind::altRight)
        return layout.roleName(VirtualKey::rightOption).value_or(key.label);
    return key.label;
}

KeySpot mainSpot(const Hotkey& hotkey, const KeyboardLayout& layout) {
    if (const auto key = hotkey.modifierKey())
        return OnboardingKeys::spot(*key, layout);
    return OnboardingKeys::spot(hotkey.keyCombo()->keyCode, layout);
}

} // namespace

const std::vector<OnboardingKey>& OnboardingKeyboard::keys() {
    static const std::vector<OnboardingKey> keys = layout();
    return keys;
}

QString OnboardingKeyboard::label(const KeySpot& spot) {
    if (spot.kind == Kind::named)
        return spot.name;
    const OnboardingKey* key = firstKey(spot);
    return key ? key->label : QString();
}

double OnboardingKeyboard::distance(const OnboardingKey& from, const KeySpot& to) {
    const OnboardingKey* key = firstKey(to);
    return key ? between(from, *key) : std::numeric_limits<double>::max();
}

QSet<KeySpot> OnboardingKeyboard::emphasizedSpots(const OnboardingKey& anchor, const Hotkey& hotkey, bool edit,
                                                  const KeyboardLayout& layout) {
    QSet<KeySpot> spots = OnboardingKeys::spots(hotkey, edit, layout);
    // One hand holds the keys: of a pair, only the side nearer the hot key's own key is shown held.
    for (const auto& [leftKind, rightKind] : {std::pair{Kind::altLeft, Kind::altRight},
                                              std::pair{Kind::superLeft, Kind::superRight},
                                              std::pair{Kind::controlLeft, Kind::controlRight},
                                              std::pair{Kind::shiftLeft, Kind::shiftRight}}) {
        const KeySpot left = KeySpot::of(leftKind), right = KeySpot::of(rightKind);
        if (!spots.contains(left) || !spots.contains(right) || anchor.spot == left || anchor.spot == right)
            continue;
        spots.remove(distance(anchor, left) > distance(anchor, right) ? left : right); // a tie drops the right
    }
    QSet<KeySpot> kept;
    for (const KeySpot& spot : spots) {
        if (spot == anchor.spot || distance(anchor, spot) <= reach)
            kept.insert(spot);
    }
    return kept;
}

std::vector<OnboardingKeyDraw> OnboardingKeyboard::cluster(const Hotkey& hotkey, bool edit,
                                                           const KeyboardLayout& layout) {
    const KeySpot main = mainSpot(hotkey, layout);
    const OnboardingKey* anchor = firstKey(main);
    if (!anchor)
        return {{main, label(main), 0, 0, 1.4, 1.0, 1.0, true}};

    const QSet<KeySpot> held = emphasizedSpots(*anchor, hotkey, edit, layout);
    std::vector<const OnboardingKey*> emphasized;
    for (const OnboardingKey& key : keys()) {
        if (held.contains(key.spot))
            emphasized.push_back(&key);
    }

    std::vector<OnboardingKeyDraw> draws;
    for (const OnboardingKey& key : keys()) {
        OnboardingKeyDraw draw{key.spot, printedLabel(key, layout), key.x, key.y, key.w, key.h, 1.0, true};
        if (!held.contains(key.spot)) {
            double nearest = fadeDistance;
            for (const OnboardingKey* other : emphasized)
                nearest = std::min(nearest, between(key, *other));
            // A key right at the edge would be invisible: the tolerance keeps rounding from drawing it.
            if (nearest >= fadeDistance - 1e-9)
                continue;
            draw.opacity = std::pow(1 - nearest / fadeDistance, 0.72);
            draw.emphasized = false;
        }
        draws.push_back(draw);
    }
    return draws;
}

} // namespace lumeno
