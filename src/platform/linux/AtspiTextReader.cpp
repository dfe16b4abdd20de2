#include "platform/linux/AtspiTextReader.h"

namespace lumeno {

namespace {

constexpr QChar objectReplacement(0xFFFC);

// Appends a block on a line of its own, without stacking empty lines.
void appendBlock(QString& text, const QString& block) {
    if (block.trimmed().isEmpty())
        return;
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    text += block;
    text += QLatin1Char('\n');
}

} // namespace

bool AtspiTextReader::holdsWords(const QString& text) {
    for (const QChar c : text)
        if (c != objectReplacement && !c.isSpace())
            return true;
    return false;
}

std::optional<QString> AtspiTextReader::read(const AtspiNode& node) {
    objects_ = 0;
    characters_ = 0;
    const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(node);
    if (!facts || !facts->hasText())
        return std::nullopt;
    return textOf(node, *facts, 0);
}

std::optional<QString> AtspiTextReader::textOf(const AtspiNode& node, const AtspiDesktop::Facts& facts, int depth) {
    std::optional<QString> text = desktop_.client().text(node);
    if (!text || !text->contains(objectReplacement) || !facts.hasHypertext())
        return text;
    QString expanded = expand(node, *text, depth);
    while (expanded.endsWith(QLatin1Char('\n')))
        expanded.chop(1);
    return expanded;
}

QString AtspiTextReader::expand(const AtspiNode& node, const QString& text, int depth) {
    QString result;
    int link = 0;
    for (const QChar c : text) {
        if (c != objectReplacement) {
            result += c;
            continue;
        }
        const int index = link++;
        if (depth >= limits_.depth || objects_ >= limits_.objects || characters_ >= limits_.characters)
            continue;
        ++objects_;
        if (const std::optional<AtspiNode> object = desktop_.client().linkTarget(node, index)) {
            const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(*object);
            const QString inner = embedded(*object, depth + 1);
            characters_ += inner.size();
            if (facts && AtspiRoleMapping::isInline(facts->role))
                result += inner;
            else
                appendBlock(result, inner);
        }
    }
    return result;
}

QString AtspiTextReader::embedded(const AtspiNode& object, int depth) {
    const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(object);
    if (!facts || AtspiRoleMapping::isPassword(facts->role) || AtspiRoleMapping::isControl(facts->role))
        return {};
    if (!facts->hasText())
        return desktop_.client().name(object).value_or(QString());
    return textOf(object, *facts, depth).value_or(QString());
}

} // namespace lumeno
