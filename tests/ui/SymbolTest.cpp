#include "ui/Symbol.h"

#include "testsupport/Screenshots.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

// Every name the capture overlay draws.
const QStringList overlaySymbols = {
    "xmark", "checkmark", "info.circle", "info.circle.fill", "checkmark.circle.fill",
    "exclamationmark.triangle.fill", "person.crop.circle", "person.crop.circle.badge.plus", "at", "pin",
    "checklist", "text.cursor", "text.quote", "text.badge.xmark", "pencil"};

struct Coverage {
    double inside = 0;  // share of the box's pixels that carry ink
    int outside = 0;    // inked pixels outside the box
    QColor strongest;   // the most opaque pixel
};

Coverage render(const QString& name, int side, const QColor& tint, QFont::Weight weight = QFont::Normal) {
    const int margin = 4;
    QImage image(side + 2 * margin, side + 2 * margin, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        Symbol::paint(painter, name, QRectF(margin, margin, side, side), tint, weight);
    }
    Coverage coverage;
    int inked = 0, strongestAlpha = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() < 40)
                continue;
            const bool inBox = x >= margin && x < margin + side && y >= margin && y < margin + side;
            inBox ? ++inked : ++coverage.outside;
            if (pixel.alpha() > strongestAlpha) {
                strongestAlpha = pixel.alpha();
                coverage.strongest = pixel;
            }
        }
    coverage.inside = side > 0 ? double(inked) / (side * side) : 0;
    return coverage;
}

TEST(SymbolTest, EveryOverlaySymbolIsKnown) {
    for (const QString& name : overlaySymbols)
        EXPECT_TRUE(Symbol::exists(name)) << name.toStdString();
    EXPECT_FALSE(Symbol::exists("no.such.symbol"));
}

TEST(SymbolTest, EverySymbolInksItsBoxAtSmallAndLargeSizesInTheTint) {
    const QColor tint(30, 120, 220);
    for (const QString& name : Symbol::names()) {
        for (int side : {9, 22}) {
            const Coverage coverage = render(name, side, tint);
            SCOPED_TRACE(QStringLiteral("%1 at %2").arg(name).arg(side).toStdString());
            // Enough ink to be seen, not so much that it reads as a blot, and nothing outside its box.
            EXPECT_GT(coverage.inside, 0.06);
            EXPECT_LT(coverage.inside, 0.80);
            EXPECT_EQ(coverage.outside, 0);
            EXPECT_NEAR(coverage.strongest.red(), tint.red(), 3);
            EXPECT_NEAR(coverage.strongest.green(), tint.green(), 3);
            EXPECT_NEAR(coverage.strongest.blue(), tint.blue(), 3);
        }
    }
}

TEST(SymbolTest, UnknownNamesAndEmptyBoxesDrawNothing) {
    const Coverage unknown = render("no.such.symbol", 16, Qt::black);
    EXPECT_EQ(unknown.inside, 0);
    EXPECT_EQ(unknown.outside, 0);
    EXPECT_EQ(render("xmark", 0, Qt::black).outside, 0);
}

TEST(SymbolTest, BolderWeightsDrawHeavierLines) {
    for (const QString& name : {QStringLiteral("xmark"), QStringLiteral("info.circle"), QStringLiteral("pin")})
        EXPECT_GT(render(name, 22, Qt::black, QFont::Bold).inside, render(name, 22, Qt::black).inside * 1.15)
            << name.toStdString();
}

// A sheet of every symbol at the sizes the windows use, light and dark, to look at.
TEST(SymbolTest, WritesAContactSheet) {
    const QList<int> sides = {9, 11, 13, 16, 22};
    const QStringList names = Symbol::names();
    const int cell = 30, labelWidth = 210, scale = 2;
    QImage sheet(QSize(labelWidth + 2 * sides.size() * cell, names.size() * cell) * scale, QImage::Format_ARGB32);
    sheet.setDevicePixelRatio(scale);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.fillRect(QRect(labelWidth + sides.size() * cell, 0, sides.size() * cell, names.size() * cell),
                     QColor(0x1e, 0x1e, 0x22));
    for (int row = 0; row < names.size(); ++row) {
        painter.setPen(Qt::black);
        painter.drawText(QRect(6, row * cell, labelWidth, cell), Qt::AlignVCenter, names[row]);
        for (int i = 0; i < sides.size(); ++i) {
            const int s = sides[i];
            const QRectF box(labelWidth + i * cell + (cell - s) / 2.0, row * cell + (cell - s) / 2.0, s, s);
            Symbol::paint(painter, names[row], box, QColor(0x22, 0x22, 0x22));
            Symbol::paint(painter, names[row], box.translated(sides.size() * cell, 0), QColor(0xee, 0xee, 0xee));
        }
    }
    painter.end();
    EXPECT_TRUE(QFile::exists(screenshots::save(sheet, "ui-symbols")));
}

} // namespace
} // namespace lumeno
