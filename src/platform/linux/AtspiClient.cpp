#include "platform/linux/AtspiClient.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace lumeno {

namespace {

namespace Interface {
const QString accessible = QStringLiteral("org.a11y.atspi.Accessible");
const QString application = QStringLiteral("org.a11y.atspi.Application");
const QString text = QStringLiteral("org.a11y.atspi.Text");
const QString editableText = QStringLiteral("org.a11y.atspi.EditableText");
const QString hypertext = QStringLiteral("org.a11y.atspi.Hypertext");
const QString hyperlink = QStringLiteral("org.a11y.atspi.Hyperlink");
const QString document = QStringLiteral("org.a11y.atspi.Document");
const QString collection = QStringLiteral("org.a11y.atspi.Collection");
const QString component = QStringLiteral("org.a11y.atspi.Component");
const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");
} // namespace Interface

const QString registryService = QStringLiteral("org.a11y.atspi.Registry");

// Collection's match types and sort order.
constexpr int matchAll = 1;
constexpr uint sortCanonical = 1;
// An application reports its focused object and, in some (LibreOffice), its ancestors too: a few matches
// reach the deepest one.
constexpr int focusedMatches = 8;

bool isTimeout(const QDBusMessage& reply) {
    const QString name = reply.errorName();
    return name == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
           name == QLatin1String("org.freedesktop.DBus.Error.Timeout") ||
           name == QLatin1String("org.freedesktop.DBus.Error.TimedOut");
}

// The match rule "every object whose states include FOCUSED", as Collection.GetMatches takes it.
QDBusArgument focusedRule() {
    QDBusArgument rule;
    rule.beginStructure();
    rule << QList<int>{1 << int(AtspiState::focused), 0} << matchAll;
    rule.beginMap(QMetaType::fromType<QString>(), QMetaType::fromType<QString>());
    rule.endMap();
    rule << matchAll << QList<int>{} << matchAll << QStringList{} << matchAll << false;
    rule.endStructure();
    return rule;
}

template <class T>
std::optional<T> cast(const std::optional<QVariant>& value) {
    if (!value)
        return std::nullopt;
    return qdbus_cast<T>(*value);
}

std::optional<std::vector<AtspiNode>> nodes(const std::optional<QVariant>& value) {
    if (!value)
        return std::nullopt;
    const QList<AtspiNode> list = qdbus_cast<QList<AtspiNode>>(*value);
    return std::vector<AtspiNode>(list.begin(), list.end());
}

} // namespace

AtspiClient::AtspiClient(QDBusConnection bus) : bus_(std::move(bus)) {
    static const bool registered = [] {
        qDBusRegisterMetaType<AtspiNode>();
        qDBusRegisterMetaType<QList<AtspiNode>>();
        return true;
    }();
    Q_UNUSED(registered);
}

std::optional<QDBusMessage> AtspiClient::call(const QString& bus, const QString& path, const QString& interface,
                                              const QString& method, const QVariantList& arguments) {
    if (unresponsive_.contains(bus) || !bus_.isConnected())
        return std::nullopt;
    QDBusMessage message = QDBusMessage::createMethodCall(bus, path, interface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = bus_.call(message, QDBus::Block, timeoutMs_);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return reply;
    if (isTimeout(reply))
        unresponsive_.insert(bus);
    return std::nullopt;
}

std::optional<QVariant> AtspiClient::firstArgument(const AtspiNode& node, const QString& interface,
                                                   const QString& method, const QVariantList& arguments) {
    const std::optional<QDBusMessage> reply = call(node.bus, node.path, interface, method, arguments);
    if (!reply || reply->arguments().isEmpty())
        return std::nullopt;
    return reply->arguments().constFirst();
}

std::optional<QVariant> AtspiClient::property(const AtspiNode& node, const QString& interface, const QString& name) {
    const std::optional<QVariant> value =
        firstArgument(node, Interface::properties, QStringLiteral("Get"), {interface, name});
    if (!value)
        return std::nullopt;
    return value->value<QDBusVariant>().variant();
}

bool AtspiClient::succeeds(const AtspiNode& node, const QString& interface, const QString& method,
                           const QVariantList& arguments) {
    return cast<bool>(firstArgument(node, interface, method, arguments)).value_or(false);
}

std::optional<std::vector<AtspiNode>> AtspiClient::applications() {
    return nodes(firstArgument(AtspiNode{registryService, AtspiNode::rootPath()}, Interface::accessible,
                               QStringLiteral("GetChildren")));
}

std::optional<qint64> AtspiClient::processId(const QString& bus) {
    const std::optional<QDBusMessage> reply =
        call(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
             QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetConnectionUnixProcessID"), {bus});
    if (!reply || reply->arguments().isEmpty())
        return std::nullopt;
    return qint64(reply->arguments().constFirst().toUInt());
}

bool AtspiClient::registerEvent(const QString& event) {
    const QString path = QStringLiteral("/org/a11y/atspi/registry");
    const QString interface = QStringLiteral("org.a11y.atspi.Registry");
    // The registry took the event name alone before it took properties and an application to listen to.
    return call(registryService, path, interface, QStringLiteral("RegisterEvent"),
                {event, QStringList(), QString()}) ||
           call(registryService, path, interface, QStringLiteral("RegisterEvent"), {event});
}

std::optional<AtspiRole> AtspiClient::role(const AtspiNode& node) {
    const std::optional<uint> role = cast<uint>(firstArgument(node, Interface::accessible, QStringLiteral("GetRole")));
    if (!role)
        return std::nullopt;
    return AtspiRole(*role);
}

std::optional<QString> AtspiClient::roleName(const AtspiNode& node) {
    return cast<QString>(firstArgument(node, Interface::accessible, QStringLiteral("GetRoleName")));
}

std::optional<AtspiStateSet> AtspiClient::states(const AtspiNode& node) {
    const std::optional<QList<uint>> words =
        cast<QList<uint>>(firstArgument(node, Interface::accessible, QStringLiteral("GetState")));
    if (!words)
        return std::nullopt;
    return AtspiStateSet::fromWords(*words);
}

std::optional<QStringList> AtspiClient::interfaces(const AtspiNode& node) {
    return cast<QStringList>(firstArgument(node, Interface::accessible, QStringLiteral("GetInterfaces")));
}

std::optional<QString> AtspiClient::name(const AtspiNode& node) {
    return cast<QString>(property(node, Interface::accessible, QStringLiteral("Name")));
}

std::optional<QString> AtspiClient::description(const AtspiNode& node) {
    return cast<QString>(property(node, Interface::accessible, QStringLiteral("Description")));
}

std::optional<AtspiNode> AtspiClient::parent(const AtspiNode& node) {
    std::optional<AtspiNode> parent = cast<AtspiNode>(property(node, Interface::accessible, QStringLiteral("Parent")));
    if (!parent || parent->isNull())
        return std::nullopt;
    return parent;
}

std::optional<std::vector<AtspiNode>> AtspiClient::children(const AtspiNode& node) {
    return nodes(firstArgument(node, Interface::accessible, QStringLiteral("GetChildren")));
}

std::optional<QString> AtspiClient::toolkitName(const AtspiNode& applicationRoot) {
    return cast<QString>(property(applicationRoot, Interface::application, QStringLiteral("ToolkitName")));
}

std::optional<QString> AtspiClient::text(const AtspiNode& node, int start, int end) {
    return cast<QString>(firstArgument(node, Interface::text, QStringLiteral("GetText"), {start, end}));
}

std::optional<int> AtspiClient::caretOffset(const AtspiNode& node) {
    return cast<int>(property(node, Interface::text, QStringLiteral("CaretOffset")));
}

std::optional<int> AtspiClient::selectionCount(const AtspiNode& node) {
    return cast<int>(firstArgument(node, Interface::text, QStringLiteral("GetNSelections")));
}

std::optional<std::pair<int, int>> AtspiClient::selection(const AtspiNode& node, int index) {
    const std::optional<QDBusMessage> reply =
        call(node.bus, node.path, Interface::text, QStringLiteral("GetSelection"), {index});
    if (!reply || reply->arguments().size() < 2)
        return std::nullopt;
    return std::pair{reply->arguments().at(0).toInt(), reply->arguments().at(1).toInt()};
}

bool AtspiClient::setSelection(const AtspiNode& node, int index, int start, int end) {
    return succeeds(node, Interface::text, QStringLiteral("SetSelection"), {index, start, end});
}

bool AtspiClient::addSelection(const AtspiNode& node, int start, int end) {
    return succeeds(node, Interface::text, QStringLiteral("AddSelection"), {start, end});
}

bool AtspiClient::removeSelection(const AtspiNode& node, int index) {
    return succeeds(node, Interface::text, QStringLiteral("RemoveSelection"), {index});
}

bool AtspiClient::setCaretOffset(const AtspiNode& node, int offset) {
    return succeeds(node, Interface::text, QStringLiteral("SetCaretOffset"), {offset});
}

bool AtspiClient::setTextContents(const AtspiNode& node, const QString& text) {
    return succeeds(node, Interface::editableText, QStringLiteral("SetTextContents"), {text});
}

bool AtspiClient::insertText(const AtspiNode& node, int position, const QString& text, int length) {
    return succeeds(node, Interface::editableText, QStringLiteral("InsertText"), {position, text, length});
}

bool AtspiClient::deleteText(const AtspiNode& node, int start, int end) {
    return succeeds(node, Interface::editableText, QStringLiteral("DeleteText"), {start, end});
}

std::optional<AtspiNode> AtspiClient::linkTarget(const AtspiNode& node, int index) {
    const std::optional<AtspiNode> link =
        cast<AtspiNode>(firstArgument(node, Interface::hypertext, QStringLiteral("GetLink"), {index}));
    if (!link || link->isNull())
        return std::nullopt;
    std::optional<AtspiNode> target =
        cast<AtspiNode>(firstArgument(*link, Interface::hyperlink, QStringLiteral("GetObject"), {0}));
    if (!target || target->isNull())
        return std::nullopt;
    return target;
}

std::optional<QString> AtspiClient::documentAttribute(const AtspiNode& node, const QString& name) {
    return cast<QString>(firstArgument(node, Interface::document, QStringLiteral("GetAttributeValue"), {name}));
}

std::optional<std::vector<AtspiNode>> AtspiClient::focusedDescendants(const AtspiNode& node) {
    return nodes(firstArgument(node, Interface::collection, QStringLiteral("GetMatches"),
                               {QVariant::fromValue(focusedRule()), QVariant::fromValue(sortCanonical), focusedMatches, true}));
}

bool AtspiClient::grabFocus(const AtspiNode& node) {
    return succeeds(node, Interface::component, QStringLiteral("GrabFocus"), {});
}

} // namespace lumeno
