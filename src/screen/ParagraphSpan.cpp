#include "screen/ParagraphSpan.h"

#include "platform/AXNames.h"

#include <QStringList>
#include <algorithm>

namespace lumeno {

namespace {

std::optional<std::size_t> indexOf(const std::vector<AccessibleElement>& elements,
                                   const AccessibleElement& element) {
    const auto found = std::find(elements.begin(), elements.end(), element);
    if (found == elements.end())
        return std::nullopt;
    return std::size_t(found - elements.begin());
}

} // namespace

ParagraphSpan ParagraphSpan::around(Accessibility& accessibility, const AccessibleElement& field, int reach) {
    ParagraphSpan span;
    span.parent_ = accessibility.parent(field);
    if (!span.parent_)
        return span;
    const std::vector<AccessibleElement> siblings = accessibility.children(*span.parent_);
    const std::optional<std::size_t> at = indexOf(siblings, field);
    if (!at || !accessibility.string(field, AXAttribute::value))
        return span;
    const std::size_t side = std::size_t(std::clamp(reach, 0, maxReach));
    const std::size_t first = *at - std::min(*at, side);
    const std::size_t end = std::min(siblings.size(), *at + side + 1);
    if (first > 0)
        span.before_ = siblings[first - 1];
    if (end < siblings.size())
        span.after_ = siblings[end];
    span.elements_.assign(siblings.begin() + qsizetype(first), siblings.begin() + qsizetype(end));
    span.text_ = joined(accessibility, span.elements_);
    return span;
}

std::optional<QString> ParagraphSpan::readAgain(Accessibility& accessibility, int added) const {
    if (!text_)
        return std::nullopt;
    const std::vector<AccessibleElement> siblings = accessibility.children(*parent_);
    std::size_t first = 0;
    if (before_) {
        const std::optional<std::size_t> at = indexOf(siblings, *before_);
        if (!at)
            return std::nullopt;
        first = *at + 1;
    }
    std::size_t end = siblings.size();
    if (after_) {
        const std::optional<std::size_t> at = indexOf(siblings, *after_);
        if (!at || *at < first)
            return std::nullopt;
        end = *at;
    }
    end = std::min(end, first + elements_.size() + std::size_t(std::clamp(added, 0, maxReach)));
    return joined(accessibility, std::vector<AccessibleElement>(siblings.begin() + qsizetype(first),
                                                                siblings.begin() + qsizetype(end)));
}

std::optional<QString> ParagraphSpan::joined(Accessibility& accessibility,
                                             const std::vector<AccessibleElement>& elements) {
    QStringList lines;
    for (const AccessibleElement& element : elements) {
        // Elements without text of their own (a picture, a table's frame) hold no line of it.
        if (const std::optional<QString> line = accessibility.string(element, AXAttribute::value))
            lines.append(*line);
    }
    if (lines.isEmpty())
        return std::nullopt;
    return lines.join(QLatin1Char('\n'));
}

} // namespace lumeno
