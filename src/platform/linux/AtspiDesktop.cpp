#include "platform/linux/AtspiDesktop.h"

#include <QDBusMessage>
#include <QUuid>

namespace lumeno {

namespace {

// Asking the session bus for the accessibility bus happens once per connection; a session bus that does
// not answer this quickly has none.
constexpr int addressTimeoutMs = 500;
// Beyond this many objects a read is walking a huge tree: start the cache over rather than grow it.
constexpr qsizetype factsLimit = 4096;

} // namespace

AtspiDesktop::AtspiDesktop(QString busAddress, QObject* parent)
    : QObject(parent),
      busAddress_(std::move(busAddress)),
      connectionName_(QStringLiteral("lumeno-atspi-") + QUuid::createUuid().toString(QUuid::WithoutBraces)),
      client_(std::make_unique<AtspiClient>(QDBusConnection(QString()))) {}

AtspiDesktop::~AtspiDesktop() {
    client_.reset();
    bus_.reset();
    QDBusConnection::disconnectFromBus(connectionName_);
}

QString AtspiDesktop::resolveAddress() const {
    if (!busAddress_.isEmpty())
        return busAddress_;
    const QString fromEnvironment = qEnvironmentVariable("AT_SPI_BUS_ADDRESS");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected())
        return {};
    const QDBusMessage reply = session.call(
        QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                       QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")),
        QDBus::Block, addressTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().toString();
}

bool AtspiDesktop::ensureConnected() {
    if (bus_ && bus_->isConnected())
        return true;
    const QString address = resolveAddress();
    if (address.isEmpty())
        return false;
    QDBusConnection::disconnectFromBus(connectionName_);
    QDBusConnection bus = QDBusConnection::connectToBus(address, connectionName_);
    if (!bus.isConnected())
        return false;
    const int timeout = client_->timeout();
    client_ = std::make_unique<AtspiClient>(bus);
    client_->setTimeout(timeout);
    bus_ = bus;
    applications_.clear();
    focus_.clear();
    activeWindows_.clear();
    facts_.clear();
    bus.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("StateChanged"),
                this, SLOT(onStateChanged(QDBusMessage)));
    bus.connect(QString(), QString(), QStringLiteral("org.a11y.atspi.Event.Window"), QStringLiteral("Activate"),
                this, SLOT(onWindowActivated(QDBusMessage)));
    // Applications send only the events someone registered for.
    client_->registerEvent(QStringLiteral("object:state-changed:focused"));
    client_->registerEvent(QStringLiteral("window:activate"));
    return true;
}

void AtspiDesktop::onStateChanged(const QDBusMessage& message) {
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2 || arguments.at(0).toString() != QLatin1String("focused"))
        return;
    const AtspiNode node{message.service(), message.path()};
    // Only a live application sends events: whatever timed out before may answer again.
    client_->forgive(node.bus);
    if (arguments.at(1).toInt() != 0)
        focus_.insert(node.bus, node);
    else if (focus_.value(node.bus) == node)
        focus_.remove(node.bus);
}

void AtspiDesktop::onWindowActivated(const QDBusMessage& message) {
    client_->forgive(message.service());
    activeWindows_.insert(message.service(), AtspiNode{message.service(), message.path()});
}

std::optional<AtspiNode> AtspiDesktop::reportedFocus(const QString& bus) const {
    const auto found = focus_.constFind(bus);
    return found == focus_.constEnd() ? std::nullopt : std::optional(*found);
}

std::optional<AtspiNode> AtspiDesktop::reportedActiveWindow(const QString& bus) const {
    const auto found = activeWindows_.constFind(bus);
    return found == activeWindows_.constEnd() ? std::nullopt : std::optional(*found);
}

void AtspiDesktop::refreshApplications() {
    const std::optional<std::vector<AtspiNode>> roots = client_->applications();
    if (!roots)
        return;
    QHash<QString, Application> refreshed;
    for (const AtspiNode& root : *roots) {
        if (const auto known = applications_.constFind(root.bus); known != applications_.constEnd()) {
            refreshed.insert(root.bus, *known);
            continue;
        }
        if (const std::optional<qint64> pid = client_->processId(root.bus))
            refreshed.insert(root.bus, Application{*pid, {}});
    }
    applications_ = std::move(refreshed);
}

std::vector<QString> AtspiDesktop::applicationBuses(qint64 pid) {
    const auto matching = [&] {
        std::vector<QString> buses;
        for (auto it = applications_.cbegin(); it != applications_.cend(); ++it)
            if (it->pid == pid)
                buses.push_back(it.key());
        return buses;
    };
    std::vector<QString> buses = matching();
    if (buses.empty()) {
        refreshApplications();
        buses = matching();
    }
    return buses;
}

QString AtspiDesktop::toolkit(const QString& bus) {
    const auto found = applications_.find(bus);
    if (found == applications_.end())
        return client_->toolkitName(AtspiNode::applicationRoot(bus)).value_or(QString());
    if (!found->toolkit)
        found->toolkit = client_->toolkitName(AtspiNode::applicationRoot(bus));
    return found->toolkit.value_or(QString());
}

bool AtspiDesktop::supportsCollection(const QString& bus) {
    const std::optional<Facts> root = facts(AtspiNode::applicationRoot(bus));
    return root && root->hasCollection();
}

bool AtspiDesktop::Facts::has(const char* interface) const {
    return interfaces.contains(QLatin1String("org.a11y.atspi.") + QLatin1String(interface));
}

std::optional<AtspiDesktop::Facts> AtspiDesktop::facts(const AtspiNode& node) {
    if (const auto known = facts_.constFind(node); known != facts_.constEnd())
        return *known;
    const std::optional<AtspiRole> role = client_->role(node);
    if (!role)
        return std::nullopt;
    const std::optional<QStringList> interfaces = client_->interfaces(node);
    if (!interfaces)
        return std::nullopt;
    if (facts_.size() >= factsLimit)
        facts_.clear();
    return *facts_.insert(node, Facts{*role, *interfaces});
}

} // namespace lumeno
