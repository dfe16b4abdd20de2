#include "platform/AXNames.h"
#include "platform/linux/AtspiExpandedText.h"
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
    EXPECT_EQ(ToolkitTextModel::forToolkit(QStringLiteral("Qt")), (ToolkitTextModel{Unit::utf16, Unit::utf16, false, false}));
    EXPECT_EQ(ToolkitTextModel::forToolkit(QStringLiteral("gtk")),
              (ToolkitTextModel{Unit::codePoint, Unit::utf8Byte, false, false}));
    EXPECT_EQ(ToolkitTextModel::forToolkit(QStringLiteral("Chromium")),
              (ToolkitTextModel{Unit::codePoint, Unit::codePoint, true, false}));
    EXPECT_EQ(ToolkitTextModel::forToolkit(QStringLiteral("Gecko")),
              (ToolkitTextModel{Unit::codePoint, Unit::codePoint, false, true}));
    // Anything else counts as AT-SPI says: characters.
    EXPECT_EQ(ToolkitTextModel::forToolkit(QStringLiteral("LibreOffice")), ToolkitTextModel{});
}

TEST(ToolkitTextModelTest, GeckosPaddingFollowsOnlyCharactersOutsideTheBmp) {
    const ToolkitTextModel gecko = ToolkitTextModel::forToolkit(QStringLiteral("Gecko"));
    const QString padded = QStringLiteral("a🎉\uFEFFb\uFEFF");
    EXPECT_TRUE(gecko.isPadding(padded, 3));
    EXPECT_FALSE(gecko.isPadding(padded, 5)) << "a zero-width space of the text's own";
    EXPECT_FALSE(gecko.isPadding(padded, 0));
    EXPECT_FALSE(ToolkitTextModel::forToolkit(QStringLiteral("Chromium")).isPadding(padded, 3));
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
    // A document in design mode, as a mail client's compose body, is one rich text field.
    EXPECT_EQ(role(AtspiRole::documentWeb, {states({AtspiState::editable, AtspiState::multiLine})}),
              QString(AXRole::textArea));
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
    EXPECT_EQ(AtspiRoleMapping::axRole(AtspiRole::statusBar, {}), QString(AXRole::statusBar));
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

// gedit's closed language list is visible but not showing; a browser's message scrolled out of view is
// not showing either, and is still read there.
TEST(AtspiStateSetTest, OutOfSightIsNotVisibleOrInGtkNotShowing) {
    const AtspiStateSet shown = states({AtspiState::visible, AtspiState::showing});
    const AtspiStateSet unmapped = states({AtspiState::visible});
    const AtspiStateSet invisible = states({AtspiState::showing});
    EXPECT_FALSE(shown.isOutOfSight(true));
    EXPECT_FALSE(shown.isOutOfSight(false));
    EXPECT_TRUE(unmapped.isOutOfSight(true));
    EXPECT_FALSE(unmapped.isOutOfSight(false));
    EXPECT_TRUE(invisible.isOutOfSight(true));
    EXPECT_TRUE(invisible.isOutOfSight(false));
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

using Place = AtspiExpandedText::Place;
using Edge = AtspiExpandedText::Edge;

// One object's own text, as the reader takes it in: Gecko's padding after an emoji left out.
AtspiExpandedText paragraph(const QString& path, const QString& raw) {
    AtspiExpandedText text;
    const int source = text.beginSource({QStringLiteral(":1.5"), path}, raw);
    for (qsizetype index = 0; index < raw.size(); ++index) {
        if (raw.at(index) == QChar(0xFEFF))
            text.skipUnit(source, index);
        else
            text.appendCharacter(source, index);
    }
    text.endSource(source);
    return text;
}

// A rich editor of two paragraphs and a button between them that is left out, as the reader expands it:
// sources 0 (the editor), 1 ("Hi Bo,") and 2 ("Friday 🎉 ok", padded).
AtspiExpandedText editor() {
    const QString objects = QString(3, QChar(0xFFFC));
    AtspiExpandedText text;
    const int root = text.beginSource({QStringLiteral(":1.5"), QStringLiteral("/editor")}, objects);
    text.text += QStringLiteral("Hi Bo,\n");
    text.adoptObject(root, 0, paragraph(QStringLiteral("/p1"), QStringLiteral("Hi Bo,")), 0);
    text.adoptObject(root, 1, AtspiExpandedText{}, std::nullopt);
    text.text += QStringLiteral("Friday 🎉 ok\n");
    text.adoptObject(root, 2, paragraph(QStringLiteral("/p2"), QStringLiteral("Friday 🎉\uFEFF ok")), 7);
    text.endSource(root);
    text.truncate(text.text.size() - 1);
    return text;
}

TEST(AtspiExpandedTextTest, PositionsLeadBackIntoTheObjectThatHoldsThem) {
    const AtspiExpandedText text = editor();
    ASSERT_EQ(text.text, QStringLiteral("Hi Bo,\nFriday 🎉 ok"));
    ASSERT_EQ(text.sources.size(), 3u);
    EXPECT_EQ(text.sources[2].node.path, QStringLiteral("/p2"));
    // "Friday": a start before its "F", an end after its "y", both in the second paragraph.
    EXPECT_EQ(text.place(7, Edge::start), (Place{2, 0}));
    EXPECT_EQ(text.place(13, Edge::end), (Place{2, 6}));
    // The line break between the paragraphs is no one's: a start goes on, an end goes back.
    EXPECT_EQ(text.place(6, Edge::start), (Place{2, 0}));
    EXPECT_EQ(text.place(7, Edge::end), (Place{1, 6}));
    // After the emoji an end takes in its padding; a start after it comes after the padding too.
    EXPECT_EQ(text.place(16, Edge::end), (Place{2, 10}));
    EXPECT_EQ(text.place(16, Edge::start), (Place{2, 10}));
    // Past the end there is only the end of the last paragraph; before the start, its start.
    EXPECT_EQ(text.place(19, Edge::start), (Place{2, 13}));
    EXPECT_EQ(text.place(0, Edge::end), (Place{1, 0}));
    EXPECT_EQ(AtspiExpandedText{}.place(0, Edge::start), (Place{0, 0}));
}

TEST(AtspiExpandedTextTest, PlacesLeadToPositionsAndEmbeddedObjects) {
    const AtspiExpandedText text = editor();
    // The editor's own text: each object spans its expansion; the button left out spans nothing.
    EXPECT_EQ(text.position({0, 0}, Edge::start), 0);
    EXPECT_EQ(text.position({0, 1}, Edge::end), 6);
    EXPECT_EQ(text.position({0, 1}, Edge::start), 7);
    EXPECT_EQ(text.position({0, 2}, Edge::start), 7);
    EXPECT_EQ(text.position({0, 3}, Edge::end), 19);
    EXPECT_EQ(text.position({0, 3}, Edge::start), 19);
    EXPECT_EQ(text.position({2, 10}, Edge::start), 16);
    EXPECT_EQ(text.position({2, 9}, Edge::end), 16);
    // Which object an end falls on: a start looks at the unit after it, an end at the unit before it.
    EXPECT_EQ(text.objectAt({0, 0}, Edge::start), 1);
    EXPECT_EQ(text.objectAt({0, 1}, Edge::end), 1);
    EXPECT_EQ(text.objectAt({0, 1}, Edge::start), std::nullopt) << "the button was left out";
    EXPECT_EQ(text.objectAt({0, 3}, Edge::end), 2);
    EXPECT_EQ(text.objectAt({0, 3}, Edge::start), std::nullopt);
    EXPECT_EQ(text.objectAt({2, 0}, Edge::start), std::nullopt) << "a character";
}

} // namespace
} // namespace lumeno
