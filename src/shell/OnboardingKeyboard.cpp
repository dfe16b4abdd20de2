#include "shell/OnboardingKeyboard.h"

#include "shell/OnboardingKeys.h"

#include <QLineF>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace lumeno {

namespace {

using Kind = KeySpot::Kind;

constexpr double pitch = 1.15;

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
    keys.push_back({KeySpot::of(Kind::shiftLeft), QStringLiteral("⇧"), 0, 2.3, 1.7, 1});
    addRow(keys, QStringLiteral("Z X C V B N M , . /"), 1.85, 2.3);
    keys.push_back({KeySpot::of(Kind::shiftRight), QStringLiteral("⇧"), 13.35, 2.3, 1.85, 1});
    keys.push_back({KeySpot::of(Kind::function), QStringLiteral("fn"), 0, 3.45, 1.3, 1});
    keys.push_back({KeySpot::of(Kind::control), QStringLiteral("⌃"), 1.45, 3.45, 1.4, 1});
    keys.push_back({KeySpot::of(Kind::optionLeft), QStringLiteral("⌥"), 3.0, 3.45, 1.3, 1});
    keys.push_back({KeySpot::of(Kind::commandLeft), QStringLiteral("⌘"), 4.45, 3.45, 1.6, 1});
    keys.push_back({KeySpot::of(Kind::space), QString(), 6.2, 3.45, 5.8, 1});
    keys.push_back({KeySpot::of(Kind::commandRight), QStringLiteral("⌘"), 12.15, 3.45, 1.6, 1});
    keys.push_back({KeySpot::of(Kind::optionRight), QStringLiteral("⌥"), 13.9, 3.45, 1.3, 1});
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

KeySpot mainSpot(const Hotkey& hotkey, const KeyboardLayout& layout) {
    if (const auto key = hotkey.modifierKey())
        return OnboardingKeys::spot(*key);
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
    for (const auto& [leftKind, rightKind] : {std::pair{Kind::optionLeft, Kind::optionRight},
                                              std::pair{Kind::commandLeft, Kind::commandRight},
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
        OnboardingKeyDraw draw{key.spot, key.label, key.x, key.y, key.w, key.h, 1.0, true};
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
