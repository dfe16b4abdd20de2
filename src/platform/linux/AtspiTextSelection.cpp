#include "platform/linux/AtspiTextSelection.h"

#include "platform/linux/AtspiTextReader.h"

namespace lumeno {

namespace {

using Edge = AtspiExpandedText::Edge;
using Place = AtspiExpandedText::Place;

// Deeper than editors nest their blocks; it only guards against a tree that loops.
constexpr int maximumDepth = 16;

} // namespace

std::optional<AtspiTextSelection::Selection> AtspiTextSelection::read(const AtspiNode& node) {
    doubtful_ = false;
    std::optional<AtspiExpandedText> expanded = AtspiTextReader(desktop_).readExpanded(node);
    if (!expanded)
        return std::nullopt;
    const std::optional<Span> own = ownSelection(node, expanded->sources.front().raw);
    if (!own || doubtful_)
        return std::nullopt;
    const bool caret = own->start == own->end;
    const qsizetype start = follow(*expanded, Place{0, own->start}, Edge::start);
    const qsizetype end = caret ? start : follow(*expanded, Place{0, own->end}, Edge::end);
    if (doubtful_)
        return std::nullopt;
    const TextRange range{start, std::max<qsizetype>(0, end - start)};
    return Selection{std::move(*expanded), range};
}

qsizetype AtspiTextSelection::follow(const AtspiExpandedText& expanded, Place place, Edge edge) {
    for (int depth = 0; depth < maximumDepth; ++depth) {
        const std::optional<int> object = expanded.objectAt(place, edge);
        if (!object)
            break;
        const AtspiExpandedText::Source& inner = expanded.sources[std::size_t(*object)];
        const std::optional<Span> span = ownSelection(inner.node, inner.raw);
        if (!span)
            break;
        place = Place{*object, edge == Edge::start ? span->start : span->end};
    }
    return expanded.position(place, edge);
}

std::optional<AtspiTextSelection::Span> AtspiTextSelection::ownSelection(const AtspiNode& node, const QString& raw) {
    AtspiClient& client = desktop_.client();
    const ToolkitTextModel model = desktop_.textModel(node.bus);
    std::optional<std::pair<int, int>> offsets;
    if (client.selectionCount(node).value_or(0) > 0) {
        offsets = client.selection(node, 0);
        if (offsets && offsets->first > offsets->second)
            std::swap(offsets->first, offsets->second);
        if (offsets && !model.reportsSelectionTruly(raw, offsets->first, offsets->second)) {
            doubtful_ = true;
            return std::nullopt;
        }
    } else if (const std::optional<int> caret = client.caretOffset(node); caret && *caret >= 0) {
        offsets = std::pair{*caret, *caret};
    }
    if (!offsets)
        return std::nullopt;
    return Span{ToolkitTextModel::toUtf16(raw, offsets->first, model.offsets),
                ToolkitTextModel::toUtf16(raw, offsets->second, model.offsets)};
}

bool AtspiTextSelection::select(const AtspiNode& node, TextRange range) {
    const std::optional<AtspiExpandedText> expanded = AtspiTextReader(desktop_).readExpanded(node);
    if (!expanded || range.start < 0 || range.length < 0 || range.end() > expanded->text.size())
        return false;
    const Place start = expanded->place(range.start, Edge::start);
    const Place end = range.length == 0 ? start : expanded->place(range.end(), Edge::end);
    if (start.source != end.source)
        return false;
    const AtspiExpandedText::Source& holder = expanded->sources[std::size_t(start.source)];
    const ToolkitTextModel model = desktop_.textModel(holder.node.bus);
    const auto offset = [&](qsizetype index) {
        return int(ToolkitTextModel::fromUtf16(holder.raw, index, model.offsets));
    };
    AtspiClient& client = desktop_.client();
    // Not read back: Chromium applies a selection only after it has answered.
    const int existing = client.selectionCount(holder.node).value_or(0);
    if (range.length == 0) {
        if (existing > 0)
            client.removeSelection(holder.node, 0);
        return client.setCaretOffset(holder.node, offset(start.index));
    }
    if (end.index <= start.index)
        return false;
    return existing > 0 ? client.setSelection(holder.node, 0, offset(start.index), offset(end.index))
                        : client.addSelection(holder.node, offset(start.index), offset(end.index));
}

} // namespace lumeno
