#pragma once

#include "platform/AccessibleElement.h"

#include <QDBusArgument>
#include <QMetaType>
#include <QString>

#include <optional>

namespace lumeno {

// One object on the accessibility bus: the bus name of the application that serves it and its object path.
// On the wire it is the "(so)" pair every AT-SPI reference uses.
struct AtspiNode {
    QString bus;
    QString path;

    // The path every application serves its own root (the application object) at.
    static QString rootPath() { return QStringLiteral("/org/a11y/atspi/accessible/root"); }
    static AtspiNode applicationRoot(const QString& bus) { return {bus, rootPath()}; }

    // The "no object" reference applications answer with, e.g. for the parent of a root.
    bool isNull() const { return bus.isEmpty() || path == QLatin1String("/org/a11y/atspi/null"); }
    bool isApplicationRoot() const { return path == rootPath(); }

    // The element handle the rest of the program holds: id "<bus name>:<object path>".
    AccessibleElement element(qint64 pid) const { return {pid, bus + QLatin1Char(':') + path}; }
    static std::optional<AtspiNode> fromElement(const AccessibleElement& element);

    bool operator==(const AtspiNode&) const = default;
};

size_t qHash(const AtspiNode& node, size_t seed = 0);

QDBusArgument& operator<<(QDBusArgument& argument, const AtspiNode& node);
const QDBusArgument& operator>>(const QDBusArgument& argument, AtspiNode& node);

} // namespace lumeno

Q_DECLARE_METATYPE(lumeno::AtspiNode)
