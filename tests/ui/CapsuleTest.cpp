#include "ui/ActionButton.h"
#include "ui/CapsuleLabel.h"
#include "ui/TypeScale.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>

#include <cmath>

namespace lumeno {
namespace {

CapsuleContent badge(const QString& text, int maxContentWidth = 0) {
    CapsuleStyle style;
    style.maxContentWidth = maxContentWidth;
    return {text, QStringLiteral("person.crop.circle"), style};
}

TEST(CapsuleTest, ShortTextKeepsItsNaturalWidthAndLongTextIsCutAtItsEnd) {
    const CapsuleContent shortOne = badge("Anna", 140);
    const int textWidth = int(std::ceil(QFontMetricsF(TypeScale::font(11, QFont::Medium)).horizontalAdvance("Anna")));
    EXPECT_LT(shortOne.sizeHint().width(), 140 + 14);
    EXPECT_GE(shortOne.sizeHint().width(), textWidth + 14);
    EXPECT_EQ(shortOne.shownText(), "Anna");

    const CapsuleContent longOne = badge("A badge text that goes on far longer than any badge should", 140);
    EXPECT_EQ(longOne.sizeHint().width(), 140 + 7 + 7);
    EXPECT_TRUE(longOne.shownText().endsWith(QStringLiteral("…")));
    EXPECT_TRUE(longOne.text.startsWith(longOne.shownText().chopped(1)));
}

TEST(CapsuleTest, LabelFollowsNewContent) {
    CapsuleLabel label(badge("Selection"));
    const int before = label.sizeHint().width();
    label.setContent(badge("Whole message"));
    EXPECT_EQ(label.text(), "Whole message");
    EXPECT_EQ(label.accessibleName(), "Whole message");
    EXPECT_GT(label.sizeHint().width(), before);
}

TEST(CapsuleTest, ActionButtonIsASmallControlAsWideAsItsTitle) {
    ActionButton insert("Insert", ActionButton::Look::prominent);
    ActionButton copy("Copy Original", ActionButton::Look::bordered);
    EXPECT_EQ(insert.sizeHint().height(), 22);
    EXPECT_GT(copy.sizeHint().width(), insert.sizeHint().width());
}

} // namespace
} // namespace lumeno
