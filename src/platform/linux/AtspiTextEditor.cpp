#include "platform/linux/AtspiTextEditor.h"

#include "platform/linux/AtspiTextReader.h"
#include "platform/linux/AtspiTextSelection.h"

namespace lumeno {

namespace {

using Edge = AtspiExpandedText::Edge;

} // namespace

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
    return AtspiTextReader(desktop_).read(node) == text;
}

bool AtspiTextEditor::replaceSelection(const AtspiNode& node, const QString& text) {
    if (!isWritable(node))
        return false;
    const std::optional<AtspiTextSelection::Selection> selection = AtspiTextSelection(desktop_).read(node);
    if (!selection || selection->expanded.sources.size() != 1)
        return false;
    const AtspiExpandedText& before = selection->expanded;
    const QString& raw = before.sources.front().raw;
    AtspiClient& client = desktop_.client();
    const ToolkitTextModel model = desktop_.textModel(node.bus);
    const auto offset = [&](qsizetype index) { return int(ToolkitTextModel::fromUtf16(raw, index, model.offsets)); };
    const int start = offset(before.place(selection->range.start, Edge::start).index);
    const int end = selection->range.length > 0 ? offset(before.place(selection->range.end(), Edge::end).index) : start;
    if (start < end && !client.deleteText(node, start, end))
        return false;
    // The length is counted the toolkit's way: a length in the wrong unit cuts the text short or, in Qt,
    // corrupts the widget.
    const int length = int(ToolkitTextModel::length(text, model.insertLength));
    if (!client.insertText(node, start, text, length))
        return false;
    const QString expected =
        before.text.left(selection->range.start) + text + before.text.mid(selection->range.end());
    const std::optional<AtspiExpandedText> after = AtspiTextReader(desktop_).readExpanded(node);
    if (!after || after->text != expected)
        return false;
    const AtspiExpandedText::Place caret = after->place(selection->range.start + text.size(), Edge::end);
    client.setCaretOffset(node, int(ToolkitTextModel::fromUtf16(after->sources.front().raw, caret.index, model.offsets)));
    return true;
}

bool AtspiTextEditor::select(const AtspiNode& node, TextRange range) {
    const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(node);
    if (!facts || AtspiRoleMapping::isPassword(facts->role) || !facts->hasText())
        return false;
    return AtspiTextSelection(desktop_).select(node, range);
}

} // namespace lumeno
