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

QDBusConnection accessibilityBus() {
    return QDBusConnection::connectToBus(UserSession::instance().accessibility().accessibilityAddress(), connectionName);
}

struct Found {
    AtspiNode node;
    AtspiNode window; // an application's children are its windows
};

// The first showing element of `pid` named `name`, with the window it is in.
std::optional<Found> search(QDBusConnection& bus, qint64 pid, const QString& name) {
    AtspiClient client(bus);
    client.setTimeout(2000);
    const auto applications = client.applications();
    if (!applications)
        return std::nullopt;
    for (const AtspiNode& application : *applications) {
        if (client.processId(application.bus) != pid)
            continue;
        std::vector<Found> pending{{application, application}};
        while (!pending.empty()) {
            const Found next = pending.back();
            pending.pop_back();
            const std::optional<AtspiStateSet> states = client.states(next.node);
            if (!next.node.isApplicationRoot() && (!states || !states->has(AtspiState::showing)))
                continue;
            if (client.name(next.node) == name)
                return next;
            if (const auto children = client.children(next.node))
                for (const AtspiNode& child : *children)
                    pending.push_back({child, next.node.isApplicationRoot() ? child : next.window});
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<QRect> ScreenButtons::find(qint64 pid, const QString& name) {
    QDBusConnection bus = accessibilityBus();
    const std::optional<Found> found = search(bus, pid, name);
    return found ? extents(bus, found->node) : std::nullopt;
}

std::optional<ScreenButtons::InWindow> ScreenButtons::findInWindow(qint64 pid, const QString& name) {
    QDBusConnection bus = accessibilityBus();
    const std::optional<Found> found = search(bus, pid, name);
    if (!found)
        return std::nullopt;
    // Both boxes are where the toolkit believes its window is, so their difference holds wherever it is
    // (Qt answers window coordinates with screen ones).
    const std::optional<QRect> box = extents(bus, found->node);
    const std::optional<QRect> window = extents(bus, found->window);
    const std::optional<QString> title = AtspiClient(bus).name(found->window);
    if (!box || !window || !title)
        return std::nullopt;
    return InWindow{box->translated(-window->topLeft()), *title, window->size()};
}

} // namespace lumeno::e2e
