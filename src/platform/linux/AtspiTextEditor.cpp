#include "platform/linux/AtspiTextEditor.h"

namespace lumeno {

bool AtspiTextEditor::isWritable(const AtspiNode& node) {
    const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(node);
    if (!facts || AtspiRoleMapping::isPassword(facts->role) || !facts->hasEditableText())
        return false;
    const std::optional<AtspiStateSet> states = desktop_.client().states(node);
    return states && states->isEditable();
}

bool AtspiTextEditor::setText(const AtspiNode& node, const QString& text) {
    if (!isWritable(node) || !desktop_.client().setTextContents(node, text))
        return false;
    return desktop_.client().text(node) == text;
}

bool AtspiTextEditor::replaceSelection(const AtspiNode& node, const QString& text) {
    if (!isWritable(node))
        return false;
    const std::optional<AtspiElementReader::Selection> selection = reader_.selection(node);
    if (!selection)
        return false;
    AtspiClient& client = desktop_.client();
    const ToolkitTextModel model = desktop_.textModel(node.bus);
    if (selection->start < selection->end && !client.deleteText(node, selection->start, selection->end))
        return false;
    // The length is counted the toolkit's way: a length in the wrong unit cuts the text short or, in Qt,
    // corrupts the widget.
    const int length = int(ToolkitTextModel::length(text, model.insertLength));
    if (!client.insertText(node, selection->start, text, length))
        return false;
    const QString expected = selection->text.left(selection->range.start) + text +
                             selection->text.mid(selection->range.end());
    if (client.text(node) != expected)
        return false;
    const qsizetype caret = selection->range.start + text.size();
    client.setCaretOffset(node, int(ToolkitTextModel::fromUtf16(expected, caret, model.offsets)));
    return true;
}

bool AtspiTextEditor::select(const AtspiNode& node, TextRange range) {
    const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(node);
    if (!facts || AtspiRoleMapping::isPassword(facts->role) || !facts->hasText())
        return false;
    AtspiClient& client = desktop_.client();
    const std::optional<QString> text = client.text(node);
    if (!text || range.start < 0 || range.length < 0 || range.end() > text->size())
        return false;
    const ToolkitTextModel model = desktop_.textModel(node.bus);
    const auto offset = [&](qsizetype utf16) { return int(ToolkitTextModel::fromUtf16(*text, utf16, model.offsets)); };
    // Not read back: Chromium applies a selection only after it has answered.
    const int existing = client.selectionCount(node).value_or(0);
    if (range.length == 0) {
        if (existing > 0)
            client.removeSelection(node, 0);
        return client.setCaretOffset(node, offset(range.start));
    }
    const int start = offset(range.start);
    const int end = offset(range.end());
    return existing > 0 ? client.setSelection(node, 0, start, end) : client.addSelection(node, start, end);
}

} // namespace lumeno
