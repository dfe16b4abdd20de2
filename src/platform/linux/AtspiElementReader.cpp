#include "platform/linux/AtspiElementReader.h"

#include "platform/AXNames.h"
#include "platform/linux/AtspiTextReader.h"
#include "platform/linux/AtspiTextSelection.h"

namespace lumeno {

namespace {


// Deeper than any toolkit nests a field in its window; it only guards against a tree that loops.
constexpr int maximumAncestors = 64;

bool isLabel(AtspiRole role) {
    return role == AtspiRole::label || role == AtspiRole::staticText || role == AtspiRole::caption ||
           role == AtspiRole::paragraph;
}

std::optional<QString> nonEmpty(std::optional<QString> text) {
    if (text && text->isEmpty())
        return std::nullopt;
    return text;
}

template <class T>
std::optional<Accessibility::Value> wrapped(std::optional<T> value) {
    if (!value)
        return std::nullopt;
    return Accessibility::Value(std::move(*value));
}

} // namespace

std::optional<Accessibility::Value> AtspiElementReader::attribute(const AtspiNode& node, qint64 pid,
                                                                  const QString& name) {
    const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(node);
    if (!facts)
        return std::nullopt;
    const bool password = AtspiRoleMapping::isPassword(facts->role);
    if (name == AXAttribute::role)
        return wrapped(role(node, *facts));
    if (name == AXAttribute::roleDescription)
        return wrapped(nonEmpty(desktop_.client().roleName(node)));
    if (name == AXAttribute::subrole)
        return password ? std::optional<Accessibility::Value>(QString(AXSubrole::secureTextField)) : std::nullopt;
    if (name == AXAttribute::title)
        return wrapped(nonEmptyName(node));
    if (name == AXAttribute::description)
        return wrapped(nonEmpty(desktop_.client().description(node)));
    if (name == AXAttribute::focused) {
        const std::optional<AtspiStateSet> states = desktop_.client().states(node);
        return states ? std::optional<Accessibility::Value>(states->has(AtspiState::focused)) : std::nullopt;
    }
    if (name == AXAttribute::hidden) {
        const std::optional<AtspiStateSet> states = desktop_.client().states(node);
        const bool gtk = desktop_.toolkit(node.bus).compare(QLatin1String("gtk"), Qt::CaseInsensitive) == 0;
        return states ? std::optional<Accessibility::Value>(states->isOutOfSight(gtk)) : std::nullopt;
    }
    if (name == AXAttribute::window) {
        const std::optional<AtspiNode> found = window(node);
        return found ? std::optional<Accessibility::Value>(found->element(pid)) : std::nullopt;
    }
    if (name == AXAttribute::url && facts->role == AtspiRole::documentWeb)
        return wrapped(address(node));
    // Nothing a password field holds is read, its selection included.
    if (password)
        return std::nullopt;
    if (name == AXAttribute::value)
        return wrapped(value(node, *facts));
    if ((name == AXAttribute::selectedText || name == AXAttribute::selectedTextRange) && facts->hasText()) {
        const std::optional<AtspiTextSelection::Selection> selected = AtspiTextSelection(desktop_).read(node);
        if (!selected)
            return std::nullopt;
        if (name == AXAttribute::selectedTextRange)
            return selected->range;
        return selected->expanded.text.mid(selected->range.start, selected->range.length);
    }
    return std::nullopt;
}

std::optional<bool> AtspiElementReader::isSettable(const AtspiNode& node, const QString& name) {
    const std::optional<AtspiDesktop::Facts> facts = desktop_.facts(node);
    const std::optional<AtspiStateSet> states = desktop_.client().states(node);
    if (!facts || !states)
        return std::nullopt;
    if (name == AXAttribute::value)
        return states->isEditable();
    if (name == AXAttribute::selectedText)
        return states->isEditable() && facts->hasEditableText();
    if (name == AXAttribute::selectedTextRange)
        return facts->hasText();
    if (name == AXAttribute::focused)
        return states->has(AtspiState::focusable);
    return false;
}

std::optional<QString> AtspiElementReader::role(const AtspiNode& node, const AtspiDesktop::Facts& facts) {
    AtspiRoleMapping::Facts mapping;
    const std::optional<AtspiStateSet> states = desktop_.client().states(node);
    if (!states)
        return std::nullopt;
    mapping.states = *states;
    // Qt's window is a filler whose parent is the application.
    if (facts.role == AtspiRole::filler) {
        const std::optional<AtspiNode> parent = desktop_.client().parent(node);
        mapping.topLevel = parent && parent->isApplicationRoot();
    }
    if (AtspiRoleMapping::mayHoldText(facts.role) && facts.hasText())
        mapping.holdsText = AtspiTextReader::holdsWords(desktop_.client().text(node).value_or(QString()));
    return AtspiRoleMapping::axRole(facts.role, mapping);
}

std::optional<QString> AtspiElementReader::value(const AtspiNode& node, const AtspiDesktop::Facts& facts) {
    if (facts.hasText())
        return AtspiTextReader(desktop_).read(node);
    // Qt's labels keep their text in their name.
    if (isLabel(facts.role))
        return desktop_.client().name(node);
    return std::nullopt;
}

std::optional<AtspiNode> AtspiElementReader::window(const AtspiNode& node) {
    AtspiNode current = node;
    for (int level = 0; level < maximumAncestors; ++level) {
        const std::optional<AtspiNode> parent = desktop_.client().parent(current);
        if (!parent || parent->bus != node.bus)
            return std::nullopt;
        if (parent->isApplicationRoot())
            return current;
        current = *parent;
    }
    return std::nullopt;
}

std::optional<QString> AtspiElementReader::address(const AtspiNode& document) {
    // Chromium names it "URI", Gecko "DocURL" (its "URI" is empty).
    for (const QString& attribute : {QStringLiteral("URI"), QStringLiteral("DocURL")})
        if (std::optional<QString> found = nonEmpty(desktop_.client().documentAttribute(document, attribute)))
            return found;
    return std::nullopt;
}

std::optional<QString> AtspiElementReader::nonEmptyName(const AtspiNode& node) {
    return nonEmpty(desktop_.client().name(node));
}

} // namespace lumeno
