#include "GuideTestSupport.h"

#include "platform/VirtualKeyCodes.h"
#include "shell/OnboardingKeyboard.h"
#include "shell/OnboardingKeys.h"
#include "testsupport/QtPrinters.h"

#include <algorithm>

namespace lumeno::testing {
namespace {

using Kind = KeySpot::Kind;

class KeyboardModelTest : public GuideFixture {
protected:
    std::vector<OnboardingKeyDraw> cluster(const Hotkey& hotkey, bool edit) {
        return OnboardingKeyboard::cluster(hotkey, edit, layout);
    }
    static const OnboardingKeyDraw* find(const std::vector<OnboardingKeyDraw>& draws, const KeySpot& spot) {
        const auto found = std::find_if(draws.begin(), draws.end(), [&](const auto& draw) { return draw.spot == spot; });
        return found == draws.end() ? nullptr : &*found;
    }
    static QSet<KeySpot> emphasized(const std::vector<OnboardingKeyDraw>& draws) {
        QSet<KeySpot> spots;
        for (const auto& draw : draws) {
            if (draw.emphasized)
                spots.insert(draw.spot);
        }
        return spots;
    }
};

TEST_F(KeyboardModelTest, TheLayoutHasItsRowsInOrderWithoutOverlaps) {
    const auto& keys = OnboardingKeyboard::keys();
    ASSERT_EQ(keys.size(), 38u);
    EXPECT_EQ(keys.front().label, "Q");
    EXPECT_EQ(keys[19].spot, KeySpot::of(Kind::shiftLeft));
    EXPECT_EQ(keys[20].label, "Z");
    EXPECT_EQ(keys.back().spot, KeySpot::of(Kind::optionRight));
    for (size_t i = 0; i < keys.size(); ++i) {
        for (size_t j = i + 1; j < keys.size(); ++j) {
            const QRectF a(keys[i].x, keys[i].y, keys[i].w, keys[i].h), b(keys[j].x, keys[j].y, keys[j].w, keys[j].h);
            EXPECT_FALSE(a.intersects(b)) << keys[i].label.toStdString() << " overlaps " << keys[j].label.toStdString();
        }
    }
}

TEST_F(KeyboardModelTest, KeyCodesAndModifiersMapToTheirPlaces) {
    EXPECT_EQ(OnboardingKeys::spot(VirtualKey::rightControl, layout), KeySpot::of(Kind::control));
    EXPECT_EQ(OnboardingKeys::spot(VirtualKey::control, layout), KeySpot::of(Kind::control));
    EXPECT_EQ(OnboardingKeys::spot(VirtualKey::space, layout), KeySpot::of(Kind::space));
    EXPECT_EQ(OnboardingKeys::spot(VirtualKey::ansiK, layout), KeySpot::named("K"));
    EXPECT_EQ(OnboardingKeys::spot(VirtualKey::ansiComma, layout), KeySpot::named(","));
    EXPECT_EQ(OnboardingKeys::spot(ModifierKey::rightControl), KeySpot::of(Kind::control));
    EXPECT_EQ(OnboardingKeys::spot(ModifierKey::fn), KeySpot::of(Kind::function));

    const KeyCombo shiftCommandK{VirtualKey::ansiK, VirtualKey::commandFlag | VirtualKey::shiftFlag};
    EXPECT_EQ(OnboardingKeys::spots(shiftCommandK, layout),
              (QSet<KeySpot>{KeySpot::named("K"), KeySpot::of(Kind::commandLeft), KeySpot::of(Kind::commandRight),
                             KeySpot::of(Kind::shiftLeft), KeySpot::of(Kind::shiftRight)}));
    // The edit shortcut of ⌘K adds Option.
    EXPECT_TRUE(OnboardingKeys::spots(Hotkey::combo({VirtualKey::ansiK, VirtualKey::commandFlag}), true, layout)
                    .contains(KeySpot::of(Kind::optionLeft)));
    EXPECT_EQ(OnboardingKeys::spots(Hotkey::modifier(ModifierKey::rightCommand), true, layout),
              (QSet<KeySpot>{KeySpot::of(Kind::commandRight), KeySpot::of(Kind::optionLeft),
                             KeySpot::of(Kind::optionRight)}));
}

TEST_F(KeyboardModelTest, HeldModifiersUseTheirSideBitsAndBothSidesWithoutThem) {
    using namespace VirtualKey;
    EXPECT_EQ(OnboardingKeys::pressedSpots(0), QSet<KeySpot>{});
    EXPECT_EQ(OnboardingKeys::pressedSpots(commandFlag),
              (QSet<KeySpot>{KeySpot::of(Kind::commandLeft), KeySpot::of(Kind::commandRight)}));
    EXPECT_EQ(OnboardingKeys::pressedSpots(commandFlag | rightCommandBit), QSet<KeySpot>{KeySpot::of(Kind::commandRight)});
    EXPECT_EQ(OnboardingKeys::pressedSpots(rightOptionBit), QSet<KeySpot>{KeySpot::of(Kind::optionRight)})
        << "a side bit counts without its generic flag";
    EXPECT_EQ(OnboardingKeys::pressedSpots(rightControlBit), QSet<KeySpot>{KeySpot::of(Kind::control)});
    EXPECT_EQ(OnboardingKeys::pressedSpots(functionFlag | shiftFlag | leftShiftBit),
              (QSet<KeySpot>{KeySpot::of(Kind::function), KeySpot::of(Kind::shiftLeft)}));
    EXPECT_EQ(OnboardingKeys::pressedSpots(modifierBits(option) | modifierBits(rightOption)),
              (QSet<KeySpot>{KeySpot::of(Kind::optionLeft), KeySpot::of(Kind::optionRight)}));
}

TEST_F(KeyboardModelTest, RightOptionFadesItsNeighboursByDistance) {
    const auto draws = cluster(Hotkey::modifier(ModifierKey::rightOption), false);
    EXPECT_EQ(emphasized(draws), QSet<KeySpot>{KeySpot::of(Kind::optionRight)});
    const auto* command = find(draws, KeySpot::of(Kind::commandRight));
    const auto* shift = find(draws, KeySpot::of(Kind::shiftRight));
    ASSERT_TRUE(command && shift);
    EXPECT_NEAR(command->opacity, std::pow(1 - 1.6 / 2.45, 0.72), 1e-9);
    EXPECT_GT(shift->opacity, command->opacity) << "the shift key sits closer";
    EXPECT_EQ(find(draws, KeySpot::of(Kind::space)), nullptr);
    EXPECT_EQ(find(draws, KeySpot::named("Q")), nullptr);
    for (const auto& draw : draws) {
        EXPECT_GT(draw.opacity, 0) << draw.id().toStdString();
        EXPECT_LE(draw.opacity, 1) << draw.id().toStdString();
    }
    // Layout order is kept: "/" comes before the right shift, the shift before the bottom row.
    const auto index = [&](const KeySpot& spot) { return find(draws, spot) - draws.data(); };
    EXPECT_LT(index(KeySpot::named("/")), index(KeySpot::of(Kind::shiftRight)));
    EXPECT_LT(index(KeySpot::of(Kind::shiftRight)), index(KeySpot::of(Kind::commandRight)));
}

TEST_F(KeyboardModelTest, EditShortcutsKeepOnlyTheNearerSideWithinReach) {
    EXPECT_EQ(emphasized(cluster(Hotkey::modifier(ModifierKey::rightOption), true)),
              (QSet<KeySpot>{KeySpot::of(Kind::optionRight), KeySpot::of(Kind::commandRight)}));
    EXPECT_EQ(emphasized(cluster(Hotkey::modifier(ModifierKey::rightCommand), true)),
              (QSet<KeySpot>{KeySpot::of(Kind::commandRight), KeySpot::of(Kind::optionRight)}));
    // fn's nearest Command key is 4.6 units away: too far to hold with one hand.
    EXPECT_EQ(emphasized(cluster(Hotkey::modifier(ModifierKey::fn), true)),
              QSet<KeySpot>{KeySpot::of(Kind::function)});
    // ⌥⌘Space: the left side of both pairs (equal distance from the space bar's centre drops the right).
    const auto spaceDraws = cluster(Hotkey::combo({VirtualKey::space, VirtualKey::commandFlag}), true);
    EXPECT_TRUE(emphasized(spaceDraws).contains(KeySpot::of(Kind::space)));
    EXPECT_FALSE(emphasized(spaceDraws).contains(KeySpot::of(Kind::commandRight) ) &&
                 emphasized(spaceDraws).contains(KeySpot::of(Kind::commandLeft)));
}

TEST_F(KeyboardModelTest, AKeyOffTheDrawingIsDrawnAloneWithItsName) {
    const auto draws = cluster(Hotkey::combo({VirtualKey::f5, VirtualKey::commandFlag}), true);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].label, "F5");
    EXPECT_EQ(draws[0].w, 1.4);
    EXPECT_EQ(draws[0].opacity, 1.0);
    EXPECT_TRUE(draws[0].emphasized);
}

TEST_F(KeyboardModelTest, ExactlyTheKeysWithinTheFadeOfAHeldKeyAreDrawn) {
    using namespace VirtualKey;
    const std::vector<std::pair<Hotkey, bool>> hotkeys = {
        {Hotkey::modifier(ModifierKey::rightControl), true},
        {Hotkey::modifier(ModifierKey::fn), false},
        {Hotkey::combo({ansiG, controlFlag | shiftFlag}), true},
        {Hotkey::combo({ansiSlash, optionFlag}), false},
        {Hotkey::combo({space, commandFlag}), true},
    };
    for (const auto& [hotkey, edit] : hotkeys) {
        const auto draws = cluster(hotkey, edit);
        std::vector<OnboardingKey> held;
        for (const OnboardingKey& key : OnboardingKeyboard::keys()) {
            if (emphasized(draws).contains(key.spot))
                held.push_back(key);
        }
        ASSERT_FALSE(held.empty());
        for (const OnboardingKey& key : OnboardingKeyboard::keys()) {
            double nearest = 1e9;
            for (const OnboardingKey& other : held)
                nearest = std::min(nearest, QLineF(key.center(), other.center()).length());
            const auto* draw = find(draws, key.spot);
            if (nearest < OnboardingKeyboard::fadeDistance) {
                ASSERT_NE(draw, nullptr) << key.label.toStdString();
                EXPECT_NEAR(draw->opacity, std::pow(1 - nearest / OnboardingKeyboard::fadeDistance, 0.72), 1e-9);
            } else {
                EXPECT_EQ(draw, nullptr) << key.label.toStdString();
            }
        }
    }
}

TEST_F(KeyboardModelTest, DrawIdentitiesAreUniqueAndNamedSpotsHashByName) {
    const auto draws = cluster(Hotkey::combo({VirtualKey::ansiV, VirtualKey::commandFlag | VirtualKey::optionFlag}), false);
    QSet<QString> ids;
    for (const auto& draw : draws)
        ids.insert(draw.id());
    EXPECT_EQ(ids.size(), qsizetype(draws.size()));
    EXPECT_EQ(draws.front().id().contains('@'), true);
    EXPECT_EQ(qHash(KeySpot::named("V")), qHash(KeySpot::named(QStringLiteral("V"))));
    EXPECT_NE(KeySpot::named("V"), KeySpot::named("B"));
    EXPECT_EQ(OnboardingKeyboard::label(KeySpot::of(Kind::commandLeft)), "⌘");
    EXPECT_EQ(OnboardingKeyboard::label(KeySpot::named("F7")), "F7");
}

} // namespace
} // namespace lumeno::testing
