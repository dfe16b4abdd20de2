#pragma once

#include "platform/linux/AtspiDesktop.h"
#include "support/TextRange.h"

namespace lumeno {

// Writes into another application's field through AT-SPI and reads the result back: a write counts only
// when the field then holds what was meant. Where the application has no EditableText (web pages in
// Chromium) only the selection can be set; the text then goes in by the clipboard. A rich editor's text,
// made of embedded objects, is written only by the clipboard too. A password field is never written.
class AtspiTextEditor {
public:
    explicit AtspiTextEditor(AtspiDesktop& desktop) : desktop_(desktop) {}

    bool setText(const AtspiNode& node, const QString& text);
    // Replaces the selection (or inserts at the caret) and leaves the caret after the new text.
    bool replaceSelection(const AtspiNode& node, const QString& text);
    // `range` in UTF-16 units of the field's expanded text; an empty one puts the caret there.
    bool select(const AtspiNode& node, TextRange range);
    bool focus(const AtspiNode& node) { return desktop_.client().grabFocus(node); }

private:
    // A field that is not a password field, takes text and has EditableText.
    bool isWritable(const AtspiNode& node);

    AtspiDesktop& desktop_;
};

} // namespace lumeno
