#pragma once

#include "foundation/Hotkey.h"
#include "shell/OnboardingKey.h"
#include "shell/OnboardingKeyDraw.h"

#include <QSet>
#include <vector>

namespace lumeno {

class KeyboardLayout;

// The small keyboard the how-to guide draws: three letter rows and the bottom row, and the choice of which
// keys to show around a hot key, the keys to hold at full strength and their neighbours fading out.
struct OnboardingKeyboard {
    // The 38 keys, row by row from the top, each row left to right.
    static const std::vector<OnboardingKey>& keys();

    // The printed label of a spot; empty when the drawing has no such key.
    static QString label(const KeySpot& spot);
    // Centre to centre, in key units; the largest double when the drawing has no key for `spot`.
    static double distance(const OnboardingKey& from, const KeySpot& to);
    // The keys to hold, as drawn around `anchor`: of a left/right pair only the side nearer the anchor, and
    // only keys within reach of it.
    static QSet<KeySpot> emphasizedSpots(const OnboardingKey& anchor, const Hotkey& hotkey, bool edit,
                                         const KeyboardLayout& layout);
    // What to draw for a hot key (or its edit shortcut), in layout order.
    static std::vector<OnboardingKeyDraw> cluster(const Hotkey& hotkey, bool edit, const KeyboardLayout& layout);

    // Keys beyond this distance from every key to hold are not drawn.
    static constexpr double fadeDistance = 2.45;
    // Keys to hold farther than this from the hot key's own key are not emphasized.
    static constexpr double reach = 2.7;
};

} // namespace lumeno
