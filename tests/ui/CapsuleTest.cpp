#include "ui/ActionButton.h"
#include "ui/CapsuleLabel.h"
#include "ui/Symbol.h"
#include "ui/TypeScale.h"
#include "testsupport/Screenshots.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
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

// How many pixels of `image` inside `area` are mostly red.
int reddish(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qRed(image.pixel(x, y)) > 2 * qBlue(image.pixel(x, y)) + 40;
    return count;
}

TEST(CapsuleTest, PaintsARoundedCapsuleWithItsSymbolThenItsTextInTheInk) {
    CapsuleContent content = badge("Anna");
    content.style.foreground = Ink::fixed(QColor(220, 0, 0));
    content.style.fill = Ink::fixed(QColor(0, 0, 200));
    QImage image(content.sizeHint(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const QPen pen = painter.pen();
    content.paint(painter, image.rect(), QPalette());
    EXPECT_EQ(painter.pen(), pen) << "the painter is handed back as it came";
    painter.end();
    screenshots::save(image, "ui-capsule");

    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "the ends are round";
    const int edge = qAlpha(image.pixel(image.width() / 2, 0));
    EXPECT_TRUE(edge > 0 && edge < 255) << "a smooth edge half a pixel in, not " << edge;
    EXPECT_EQ(image.pixelColor(4, image.height() / 2), QColor(0, 0, 200));
    const int side = Symbol::sideFor(content.style.fontSize), left = content.style.padding.left();
    EXPECT_GT(reddish(image, QRect(left, 0, side, image.height())), 4) << "no symbol";
    EXPECT_GT(reddish(image, QRect(left + side + 4, 0, image.width() - left - side - 4, image.height())), 10)
        << "no text";
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
