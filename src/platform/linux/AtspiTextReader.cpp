#include "platform/linux/AtspiTextReader.h"

namespace lumeno {

namespace {

constexpr QChar objectReplacement(0xFFFC);

// Appends a block on a line of its own, without stacking empty lines; where it went, none when it holds
// nothing but spacing and was left out.
std::optional<qsizetype> appendBlock(QString& text, const QString& block) {
    if (block.trimmed().isEmpty())
        return std::nullopt;
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    const qsizetype at = text.size();
    text += block;
    text += QLatin1Char('\n');
    return at;
}

} // namespace

bool AtspiTextReader::holdsWords(const QString& text) {
    for (const QChar c : text)
        if (c != objectReplacement && !c.isSpace())
            return true;
    return false;
}

std::optional<QString> AtspiTextReader::read(const AtspiNode& node) {
    std::optional<AtspiExpandedText> expanded = readExpanded(node);
    return expanded ? std::optional(std::move(expanded->text)) : std::nullopt;
}

std::optional<AtspiExpandedText> AtspiTextReader::readExpanded(const AtspiNode& node) {
    objects_ = 0;
    characters_ = 0;
    const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(node);
    if (!facts || !facts->hasText())
        return std::nullopt;
    return textOf(node, *facts, 0);
}

std::optional<AtspiExpandedText> AtspiTextReader::textOf(const AtspiNode& node, const AtspiDesktop::Facts& facts,
                                                         int depth) {
    const std::optional<QString> raw = desktop_.client().text(node);
    if (!raw)
        return std::nullopt;
    const ToolkitTextModel model = desktop_.textModel(node.bus);
    const bool expands = facts.hasHypertext() && raw->contains(objectReplacement);
    AtspiExpandedText expanded;
    const int own = expanded.beginSource(node, *raw);
    int link = 0;
    for (qsizetype index = 0; index < raw->size(); ++index) {
        if (model.isPadding(*raw, index))
            expanded.skipUnit(own, index);
        else if (expands && raw->at(index) == objectReplacement)
            expandObject(expanded, own, index, link++, depth);
        else
            expanded.appendCharacter(own, index);
    }
    expanded.endSource(own);
    if (expands) {
        qsizetype length = expanded.text.size();
        while (length > 0 && expanded.text.at(length - 1) == QLatin1Char('\n'))
            --length;
        expanded.truncate(length);
    }
    return expanded;
}

void AtspiTextReader::expandObject(AtspiExpandedText& into, int source, qsizetype index, int link, int depth) {
    into.skipUnit(source, index);
    if (depth >= limits_.depth || objects_ >= limits_.objects || characters_ >= limits_.characters)
        return;
    ++objects_;
    const AtspiNode parent = into.sources[std::size_t(source)].node;
    const std::optional<AtspiNode> object = desktop_.client().linkTarget(parent, link);
    if (!object)
        return;
    std::optional<AtspiExpandedText> inner = embedded(*object, depth + 1);
    if (!inner)
        return;
    characters_ += inner->text.size();
    const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(*object);
    std::optional<qsizetype> at;
    if (facts && AtspiRoleMapping::isInline(facts->role)) {
        at = into.text.size();
        into.text += inner->text;
    } else {
        at = appendBlock(into.text, inner->text);
    }
    into.adoptObject(source, index, std::move(*inner), at);
}

std::optional<AtspiExpandedText> AtspiTextReader::embedded(const AtspiNode& object, int depth) {
    const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(object);
    if (!facts || AtspiRoleMapping::isPassword(facts->role) || AtspiRoleMapping::isControl(facts->role))
        return std::nullopt;
    if (!facts->hasText()) {
        AtspiExpandedText named;
        named.text = desktop_.client().name(object).value_or(QString());
        return named;
    }
    return textOf(object, *facts, depth);
}

} // namespace lumeno
