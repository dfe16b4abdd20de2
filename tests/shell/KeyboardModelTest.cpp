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
    ASSERT_EQ(keys.size(), 39u);
    EXPECT_EQ(keys.front().label, "Q");
    EXPECT_EQ(keys[19].spot, KeySpot::of(Kind::shiftLeft));
    EXPECT_EQ(keys[20].label, "Z");
    QStringList bottomRow;
    for (size_t i = keys.size() - 8; i < keys.size(); ++i)
        bottomRow << (keys[i].spot.kind == Kind::space ? QStringLiteral("Space") : keys[i].label);
    EXPECT_EQ(bottomRow.join(' '), "Ctrl Super Alt Space Alt Super Menu Ctrl") << "a PC keyboard's bottom row";
    EXPECT_DOUBLE_EQ(keys.back().x + keys.back().w, keys[30].x + keys[30].w)
        << "the bottom row ends where the right Shift does";
    for (size_t i = 0; i < keys.size(); ++i) {
        for (size_t j = i + 1; j < keys.size(); ++j) {
            const QRectF a(keys[i].x, keys[i].y, keys[i].w, keys[i].h), b(keys[j].x, keys[j].y, keys[j].w, keys[j].h);
            EXPECT_FALSE(a.intersects(b)) << keys[i].label.toStdString() << " overlaps " << keys[j].label.toStdString();
        }
    }
}

TEST_F(KeyboardModelTest, KeyCodesAndModifiersMapToTheirPlaces) {
    EXPECT_EQ(OnboardingKeys::spot(VirtualKey::rightControl, layout), KeySpot::of(Kind::controlRight));
    EXPECT_EQ(OnboardingKeys::spot(VirtualKey::control, layout), KeySpot::of(Kind::controlLeft));
    EXPECT_EQ(OnboardingKeys::spot(VirtualKey::space, layout), KeySpot::of(Kind::space));
    EXPECT_EQ(OnboardingKeys::spot(VirtualKey::ansiK, layout), KeySpot::named("K"));
    EXPECT_EQ(OnboardingKeys::spot(VirtualKey::ansiComma, layout), KeySpot::named(","));
    EXPECT_EQ(OnboardingKeys::spot(ModifierKey::rightControl, layout), KeySpot::of(Kind::controlRight));
    EXPECT_EQ(OnboardingKeys::spot(ModifierKey::rightCommand, layout), KeySpot::of(Kind::superRight));
    EXPECT_EQ(OnboardingKeys::spot(ModifierKey::fn, layout), KeySpot::named("Fn")) << "a PC's bottom row has no Fn";

    const KeyCombo shiftSuperK{VirtualKey::ansiK, VirtualKey::commandFlag | VirtualKey::shiftFlag};
    EXPECT_EQ(OnboardingKeys::spots(shiftSuperK, layout),
              (QSet<KeySpot>{KeySpot::named("K"), KeySpot::of(Kind::superLeft), KeySpot::of(Kind::superRight),
                             KeySpot::of(Kind::shiftLeft), KeySpot::of(Kind::shiftRight)}));
    // The edit shortcut of Super+K adds Alt.
    EXPECT_TRUE(OnboardingKeys::spots(Hotkey::combo({VirtualKey::ansiK, VirtualKey::commandFlag}), true, layout)
                    .contains(KeySpot::of(Kind::altLeft)));
    EXPECT_EQ(OnboardingKeys::spots(Hotkey::modifier(ModifierKey::rightCommand), true, layout),
              (QSet<KeySpot>{KeySpot::of(Kind::superRight), KeySpot::of(Kind::altLeft), KeySpot::of(Kind::altRight)}));
    EXPECT_EQ(OnboardingKeys::spots(Hotkey::combo({VirtualKey::ansiG, VirtualKey::controlFlag}), false, layout),
              (QSet<KeySpot>{KeySpot::named("G"), KeySpot::of(Kind::controlLeft), KeySpot::of(Kind::controlRight)}));
}

TEST_F(KeyboardModelTest, HeldModifiersUseTheirSideBitsAndBothSidesWithoutThem) {
    using namespace VirtualKey;
    EXPECT_EQ(OnboardingKeys::pressedSpots(0), QSet<KeySpot>{});
    EXPECT_EQ(OnboardingKeys::pressedSpots(commandFlag),
              (QSet<KeySpot>{KeySpot::of(Kind::superLeft), KeySpot::of(Kind::superRight)}));
    EXPECT_EQ(OnboardingKeys::pressedSpots(commandFlag | rightCommandBit), QSet<KeySpot>{KeySpot::of(Kind::superRight)});
    EXPECT_EQ(OnboardingKeys::pressedSpots(rightOptionBit), QSet<KeySpot>{KeySpot::of(Kind::altRight)})
        << "a side bit counts without its generic flag";
    EXPECT_EQ(OnboardingKeys::pressedSpots(rightControlBit), QSet<KeySpot>{KeySpot::of(Kind::controlRight)});
    EXPECT_EQ(OnboardingKeys::pressedSpots(modifierBits(control)), QSet<KeySpot>{KeySpot::of(Kind::controlLeft)});
    EXPECT_EQ(OnboardingKeys::pressedSpots(functionFlag | shiftFlag | leftShiftBit),
              QSet<KeySpot>{KeySpot::of(Kind::shiftLeft)}) << "Fn is not drawn";
    EXPECT_EQ(OnboardingKeys::pressedSpots(modifierBits(option) | modifierBits(rightOption)),
              (QSet<KeySpot>{KeySpot::of(Kind::altLeft), KeySpot::of(Kind::altRight)}));
}

TEST_F(KeyboardModelTest, RightAltFadesItsNeighboursByDistance) {
    const auto draws = cluster(Hotkey::modifier(ModifierKey::rightOption), false);
    EXPECT_EQ(emphasized(draws), QSet<KeySpot>{KeySpot::of(Kind::altRight)});
    const auto* super = find(draws, KeySpot::of(Kind::superRight));
    const auto* comma = find(draws, KeySpot::named(","));
    ASSERT_TRUE(super && comma);
    EXPECT_NEAR(super->opacity, std::pow(1 - 1.3 / 2.45, 0.72), 1e-9);
    EXPECT_GT(comma->opacity, super->opacity) << "the comma key sits closer";
    EXPECT_EQ(find(draws, KeySpot::of(Kind::menu)), nullptr) << "two keys away is beyond the fade";
    EXPECT_EQ(find(draws, KeySpot::of(Kind::space)), nullptr);
    EXPECT_EQ(find(draws, KeySpot::named("Q")), nullptr);
    for (const auto& draw : draws) {
        EXPECT_GT(draw.opacity, 0) << draw.id().toStdString();
        EXPECT_LE(draw.opacity, 1) << draw.id().toStdString();
    }
    // Layout order is kept: "/" comes before the bottom row, right Alt before right Super.
    const auto index = [&](const KeySpot& spot) { return find(draws, spot) - draws.data(); };
    EXPECT_LT(index(KeySpot::named("/")), index(KeySpot::of(Kind::altRight)));
    EXPECT_LT(index(KeySpot::of(Kind::altRight)), index(KeySpot::of(Kind::superRight)));
}

TEST_F(KeyboardModelTest, EditShortcutsKeepOnlyTheNearerSideWithinReach) {
    EXPECT_EQ(emphasized(cluster(Hotkey::modifier(ModifierKey::rightOption), true)),
              (QSet<KeySpot>{KeySpot::of(Kind::altRight), KeySpot::of(Kind::superRight)}));
    EXPECT_EQ(emphasized(cluster(Hotkey::modifier(ModifierKey::rightCommand), true)),
              (QSet<KeySpot>{KeySpot::of(Kind::superRight), KeySpot::of(Kind::altRight)}));
    // Right Ctrl reaches the right Super key across the Menu key.
    EXPECT_EQ(emphasized(cluster(Hotkey::modifier(ModifierKey::rightControl), true)),
              (QSet<KeySpot>{KeySpot::of(Kind::controlRight), KeySpot::of(Kind::superRight)}));
    // Fn is not on the drawing: it is drawn alone.
    EXPECT_EQ(emphasized(cluster(Hotkey::modifier(ModifierKey::fn), true)), QSet<KeySpot>{KeySpot::named("Fn")});
    // Alt+Super+Space: one side of each pair only.
    const auto spaceDraws = cluster(Hotkey::combo({VirtualKey::space, VirtualKey::commandFlag}), true);
    EXPECT_TRUE(emphasized(spaceDraws).contains(KeySpot::of(Kind::space)));
    EXPECT_FALSE(emphasized(spaceDraws).contains(KeySpot::of(Kind::superRight)) &&
                 emphasized(spaceDraws).contains(KeySpot::of(Kind::superLeft)));
}

TEST_F(KeyboardModelTest, AKeyOffTheDrawingIsDrawnAloneWithItsName) {
    const auto draws = cluster(Hotkey::combo({VirtualKey::f5, VirtualKey::commandFlag}), true);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].label, "F5");
    EXPECT_EQ(draws[0].w, 1.4);
    EXPECT_EQ(draws[0].opacity, 1.0);
    EXPECT_TRUE(draws[0].emphasized);
}

TEST_F(KeyboardModelTest, DrawIdentitiesAreUnique) {
    const auto draws = cluster(Hotkey::combo({VirtualKey::ansiV, VirtualKey::commandFlag | VirtualKey::optionFlag}), false);
    QSet<QString> ids;
    for (const auto& draw : draws)
        ids.insert(draw.id());
    EXPECT_EQ(ids.size(), qsizetype(draws.size()));
    EXPECT_EQ(OnboardingKeyboard::label(KeySpot::of(Kind::superLeft)), "Super");
    EXPECT_EQ(OnboardingKeyboard::label(KeySpot::named("F7")), "F7");
}

} // namespace
} // namespace lumeno::testing
