#include "e2e/harness/ScreenButtons.h"

#include "e2e/harness/UserSession.h"
#include "platform/linux/AtspiClient.h"

#include <QDBusArgument>
#include <QDBusConnection>

namespace lumeno::e2e {

namespace {

const QString connectionName = QStringLiteral("lumeno-e2e-accessibility");

// The element's box on the screen (Component.GetExtents in screen coordinates).
std::optional<QRect> extents(QDBusConnection& bus, const AtspiNode& node) {
    QDBusMessage call = QDBusMessage::createMethodCall(node.bus, node.path, QStringLiteral("org.a11y.atspi.Component"),
                                                       QStringLiteral("GetExtents"));
    call << quint32(0);
    const QDBusMessage reply = bus.call(call, QDBus::Block, 2000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    int x = 0, y = 0, width = 0, height = 0;
    const QDBusArgument box = reply.arguments().constFirst().value<QDBusArgument>();
    box.beginStructure();
    box >> x >> y >> width >> height;
    box.endStructure();
    return QRect(x, y, width, height);
}

} // namespace

std::optional<QRect> ScreenButtons::find(qint64 pid, const QString& name) {
    QDBusConnection bus = QDBusConnection::connectToBus(UserSession::instance().accessibility().accessibilityAddress(),
                                                        connectionName);
    AtspiClient client(bus);
    client.setTimeout(2000);
    const auto applications = client.applications();
    if (!applications)
        return std::nullopt;
    for (const AtspiNode& application : *applications) {
        if (client.processId(application.bus) != pid)
            continue;
        std::vector<AtspiNode> pending{application};
        while (!pending.empty()) {
            const AtspiNode node = pending.back();
            pending.pop_back();
            const std::optional<AtspiStateSet> states = client.states(node);
            if (!node.isApplicationRoot() && (!states || !states->has(AtspiState::showing)))
                continue;
            if (client.name(node) == name)
                return extents(bus, node);
            if (const auto children = client.children(node))
                pending.insert(pending.end(), children->begin(), children->end());
        }
    }
    return std::nullopt;
}

} // namespace lumeno::e2e
