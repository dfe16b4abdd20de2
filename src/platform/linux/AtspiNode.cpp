#include "platform/linux/AtspiNode.h"

#include <QDBusObjectPath>
#include <QHashFunctions>

namespace lumeno {

std::optional<AtspiNode> AtspiNode::fromElement(const AccessibleElement& element) {
    // Unique bus names hold colons themselves (":1.42"); the object path is what follows the first ":/".
    const qsizetype split = element.id.indexOf(QLatin1String(":/"));
    if (split <= 0)
        return std::nullopt;
    return AtspiNode{element.id.left(split), element.id.mid(split + 1)};
}

size_t qHash(const AtspiNode& node, size_t seed) {
    return qHashMulti(seed, node.bus, node.path);
}

QDBusArgument& operator<<(QDBusArgument& argument, const AtspiNode& node) {
    argument.beginStructure();
    argument << node.bus << QDBusObjectPath(node.path);
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, AtspiNode& node) {
    QDBusObjectPath path;
    argument.beginStructure();
    argument >> node.bus >> path;
    argument.endStructure();
    node.path = path.path();
    return argument;
}

} // namespace lumeno
