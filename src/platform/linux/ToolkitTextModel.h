#pragma once

#include <QString>

namespace lumeno {

// How one toolkit counts positions in text over AT-SPI. The rest of the program counts UTF-16 units (as
// QString does); Qt does too, GTK counts code points and takes an insertion's length in UTF-8 bytes,
// Chromium counts code points but misreports a selection (not the caret) that lies past a character
// outside the Basic Multilingual Plane, and Gecko follows each such character with a U+FEFF of padding so
// that its code points count as UTF-16 units do. Getting one of them wrong moves a selection past an emoji,
// puts the padding into what the program reads, or corrupts the field an insertion goes into.
struct ToolkitTextModel {
    enum class Unit { utf16, codePoint, utf8Byte };

    Unit offsets = Unit::codePoint;       // caret, selection and text ranges, read and written
    Unit insertLength = Unit::codePoint;  // the length argument of InsertText
    bool selectionSkewedByAstral = false; // GetSelection is wrong once an emoji precedes it
    bool padsAstral = false;              // a U+FEFF follows each character outside the BMP

    // Whether a selection the toolkit reports from `start` to `end` (its own offsets) in `text` can be
    // believed. Chromium's is right only while no character outside the Basic Multilingual Plane comes
    // before it, and it reports some selections past one as empty.
    bool reportsSelectionTruly(const QString& text, qsizetype start, qsizetype end) const;

    // Whether the unit at `index` of a text the toolkit gave is its padding, no part of the text.
    bool isPadding(const QString& text, qsizetype index) const {
        return padsAstral && index > 0 && text.at(index) == QChar(0xFEFF) && text.at(index - 1).isLowSurrogate();
    }

    // From the toolkit name an application declares ("Qt", "gtk", "Chromium", "Gecko"); code points (the AT-SPI
    // rule) for any other.
    static ToolkitTextModel forToolkit(const QString& toolkitName);

    // The UTF-16 position of `offset` counted in `unit` in `text`; clamped to the text.
    static qsizetype toUtf16(const QString& text, qsizetype offset, Unit unit);
    // `utf16` (clamped to the text, and never inside a surrogate pair) counted in `unit`.
    static qsizetype fromUtf16(const QString& text, qsizetype utf16, Unit unit);
    static qsizetype length(const QString& text, Unit unit) { return fromUtf16(text, text.size(), unit); }

    bool operator==(const ToolkitTextModel&) const = default;
};

} // namespace lumeno
