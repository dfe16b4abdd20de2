#include "platform/AXNames.h"
#include "platform/linux/AtspiNode.h"
#include "platform/linux/AtspiRole.h"
#include "platform/linux/AtspiTextReader.h"
#include "platform/linux/ToolkitTextModel.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

using Unit = ToolkitTextModel::Unit;

// "a", an emoji outside the BMP (two UTF-16 units, four UTF-8 bytes), "é" (two bytes), "z".
const QString mixed = QStringLiteral("a🎉éz");

TEST(ToolkitTextModelTest, PositionsConvertBetweenUtf16AndEachToolkitsUnit) {
    // UTF-16 positions 0 1 3 4 5 are code points 0 1 2 3 4 and bytes 0 1 5 7 8.
    const std::vector<std::tuple<qsizetype, qsizetype, qsizetype>> positions = {
        {0, 0, 0}, {1, 1, 1}, {3, 2, 5}, {4, 3, 7}, {5, 4, 8}};
    for (const auto& [utf16, codePoint, byte] : positions) {
        EXPECT_EQ(ToolkitTextModel::fromUtf16(mixed, utf16, Unit::codePoint), codePoint) << utf16;
        EXPECT_EQ(ToolkitTextModel::fromUtf16(mixed, utf16, Unit::utf8Byte), byte) << utf16;
        EXPECT_EQ(ToolkitTextModel::toUtf16(mixed, codePoint, Unit::codePoint), utf16) << codePoint;
        EXPECT_EQ(ToolkitTextModel::toUtf16(mixed, byte, Unit::utf8Byte), utf16) << byte;
        EXPECT_EQ(ToolkitTextModel::toUtf16(mixed, utf16, Unit::utf16), utf16);
    }
    EXPECT_EQ(ToolkitTextModel::length(mixed, Unit::utf8Byte), 8);
    EXPECT_EQ(ToolkitTextModel::length(mixed, Unit::codePoint), 4);
    EXPECT_EQ(ToolkitTextModel::length(mixed, Unit::utf16), 5);
}

TEST(ToolkitTextModelTest, PositionsOutsideTheTextOrInsideACharacterAreClamped) {
    // Inside the emoji's surrogate pair: the position before it.
    EXPECT_EQ(ToolkitTextModel::fromUtf16(mixed, 2, Unit::codePoint), 1);
    EXPECT_EQ(ToolkitTextModel::toUtf16(mixed, 3, Unit::utf8Byte), 1);
    EXPECT_EQ(ToolkitTextModel::fromUtf16(mixed, 99, Unit::codePoint), 4);
    EXPECT_EQ(ToolkitTextModel::toUtf16(mixed, 99, Unit::codePoint), 5);
    EXPECT_EQ(ToolkitTextModel::toUtf16(mixed, -3, Unit::utf16), 0);
    EXPECT_EQ(ToolkitTextModel::fromUtf16(QString(), 3, Unit::utf8Byte), 0);
}

TEST(ToolkitTextModelTest, EachToolkitHasItsOwnModel) {
    EXPECT_EQ(ToolkitTextModel::forToolkit(QStringLiteral("Qt")), (ToolkitTextModel{Unit::utf16, Unit::utf16, false}));
    EXPECT_EQ(ToolkitTextModel::forToolkit(QStringLiteral("gtk")), (ToolkitTextModel{Unit::codePoint, Unit::utf8Byte, false}));
    EXPECT_EQ(ToolkitTextModel::forToolkit(QStringLiteral("Chromium")), (ToolkitTextModel{Unit::codePoint, Unit::codePoint, true}));
    // Anything else counts as AT-SPI says: characters.
    EXPECT_EQ(ToolkitTextModel::forToolkit(QStringLiteral("Gecko")), (ToolkitTextModel{Unit::codePoint, Unit::codePoint, false}));
}

TEST(ToolkitTextModelTest, ChromiumsSelectionIsBelievedOnlyBeforeTheFirstEmoji) {
    const ToolkitTextModel chromium = ToolkitTextModel::forToolkit(QStringLiteral("Chromium"));
    const QString text = QStringLiteral("Draft é 🎉 here"); // the emoji is code point 8
    EXPECT_TRUE(chromium.reportsSelectionTruly(text, 6, 7));
    EXPECT_FALSE(chromium.reportsSelectionTruly(text, 6, 8)) << "a skewed end may land on the emoji itself";
    EXPECT_FALSE(chromium.reportsSelectionTruly(text, 9, 11));
    EXPECT_FALSE(chromium.reportsSelectionTruly(text, 0, 0)) << "it reports some selections past an emoji as empty";
    EXPECT_TRUE(chromium.reportsSelectionTruly(QStringLiteral("no emoji at all"), 3, 9));
    EXPECT_TRUE(ToolkitTextModel::forToolkit(QStringLiteral("Qt")).reportsSelectionTruly(text, 9, 11));
}

AtspiStateSet states(std::initializer_list<AtspiState> list) {
    AtspiStateSet set;
    for (const AtspiState state : list)
        set.bits |= quint64(1) << int(state);
    return set;
}

QString role(AtspiRole atspi, AtspiRoleMapping::Facts facts = {}) {
    return AtspiRoleMapping::axRole(atspi, facts);
}

TEST(AtspiRoleMappingTest, FieldsMapByLinesAndPasswordsStayFields) {
    EXPECT_EQ(role(AtspiRole::text, {states({AtspiState::multiLine})}), QString(AXRole::textArea));
    EXPECT_EQ(role(AtspiRole::entry, {states({AtspiState::multiLine})}), QString(AXRole::textArea));
    EXPECT_EQ(role(AtspiRole::entry), QString(AXRole::textField));
    EXPECT_EQ(role(AtspiRole::passwordText, {states({AtspiState::editable})}), QString(AXRole::textField));
    EXPECT_TRUE(AtspiRoleMapping::isPassword(AtspiRole::passwordText));
    // A web page's contenteditable section edits like a text area; read-only, it is only a group.
    EXPECT_EQ(role(AtspiRole::section, {states({AtspiState::editable})}), QString(AXRole::textArea));
    EXPECT_EQ(role(AtspiRole::section, {states({AtspiState::editable, AtspiState::readOnly})}), QString(AXRole::group));
}

TEST(AtspiRoleMappingTest, WindowsPagesAndBlocksOfText) {
    EXPECT_EQ(role(AtspiRole::application), QString(AXRole::application));
    EXPECT_EQ(role(AtspiRole::frame), QString(AXRole::window));
    EXPECT_EQ(role(AtspiRole::filler, {.topLevel = true}), QString(AXRole::window)) << "Qt's window";
    EXPECT_EQ(role(AtspiRole::filler), QString(AXRole::group));
    EXPECT_EQ(role(AtspiRole::documentWeb), QString(AXRole::webArea));
    EXPECT_EQ(role(AtspiRole::label), QString(AXRole::staticText));
    EXPECT_EQ(role(AtspiRole::section, {.holdsText = true}), QString(AXRole::staticText));
    EXPECT_EQ(role(AtspiRole::section), QString(AXRole::group));
    EXPECT_EQ(role(AtspiRole::listItem), QString(AXRole::row));
    EXPECT_EQ(role(AtspiRole::terminal), QString(AXRole::terminal));
}

TEST(AtspiRoleMappingTest, ControlsAreSetApartFromText) {
    for (const AtspiRole control : {AtspiRole::pushButton, AtspiRole::checkBox, AtspiRole::image, AtspiRole::menuItem,
                                    AtspiRole::scrollBar, AtspiRole::separator})
        EXPECT_TRUE(AtspiRoleMapping::isControl(control)) << int(control);
    for (const AtspiRole text : {AtspiRole::link, AtspiRole::staticText, AtspiRole::section, AtspiRole::entry})
        EXPECT_FALSE(AtspiRoleMapping::isControl(text)) << int(text);
    EXPECT_TRUE(AtspiRoleMapping::isInline(AtspiRole::link));
    EXPECT_FALSE(AtspiRoleMapping::isInline(AtspiRole::paragraph));
}

TEST(AtspiStateSetTest, ReadsBothWordsAndQtsReadOnlyFields) {
    // Qt's read-only line edit: EDITABLE (7), FOCUSABLE (11) in the first word, READ_ONLY (43) in the second.
    const AtspiStateSet readOnly = AtspiStateSet::fromWords({0x43000980, 0x800});
    EXPECT_TRUE(readOnly.has(AtspiState::editable));
    EXPECT_TRUE(readOnly.has(AtspiState::readOnly));
    EXPECT_FALSE(readOnly.isEditable());
    const AtspiStateSet focusedArea = AtspiStateSet::fromWords({0x43021980});
    EXPECT_TRUE(focusedArea.isEditable());
    EXPECT_TRUE(focusedArea.has(AtspiState::focused));
    EXPECT_TRUE(focusedArea.has(AtspiState::multiLine));
    EXPECT_FALSE(AtspiStateSet::fromWords({}).has(AtspiState::focused));
}

TEST(AtspiNodeTest, TheElementIdCarriesBusNameAndPath) {
    const AtspiNode node{QStringLiteral(":1.42"), QStringLiteral("/org/a11y/atspi/accessible/2147483651")};
    const AccessibleElement element = node.element(4242);
    EXPECT_EQ(element.pid, 4242);
    EXPECT_EQ(AtspiNode::fromElement(element), node);
    EXPECT_EQ(AtspiNode::fromElement({1, QStringLiteral("17")}), std::nullopt) << "a fake desktop's id";
    EXPECT_TRUE((AtspiNode{QStringLiteral(":1.3"), QStringLiteral("/org/a11y/atspi/null")}).isNull());
    EXPECT_TRUE(AtspiNode::applicationRoot(QStringLiteral(":1.3")).isApplicationRoot());
}

TEST(AtspiTextReaderTest, ABlockOfWordsIsMoreThanEmbeddedObjectsAndSpacing) {
    EXPECT_TRUE(AtspiTextReader::holdsWords(QStringLiteral("Ana: Can we move the \uFFFC to Friday?")));
    EXPECT_FALSE(AtspiTextReader::holdsWords(QStringLiteral("\uFFFC \uFFFC\n\uFFFC")));
    EXPECT_FALSE(AtspiTextReader::holdsWords(QString()));
}

} // namespace
} // namespace lumeno
