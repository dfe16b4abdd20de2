#pragma once

#include "platform/linux/AtspiNode.h"
#include "platform/linux/AtspiRole.h"
#include "platform/linux/AtspiStateSet.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSet>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace lumeno {

// Typed AT-SPI calls on the accessibility bus, each blocking for at most the messaging timeout. Used on
// one thread only (the connection's).
//
// An application that lets a call time out is taken for hung: later calls to it fail at once instead of
// each waiting out its own timeout, until forgive() gives it another chance. A whole read of a stopped
// application so costs one timeout, not one per attribute.
class AtspiClient {
public:
    explicit AtspiClient(QDBusConnection bus);

    void setTimeout(int milliseconds) { timeoutMs_ = milliseconds; }
    int timeout() const { return timeoutMs_; }
    void forgive(const QString& bus) { unresponsive_.remove(bus); }
    bool isUnresponsive(const QString& bus) const { return unresponsive_.contains(bus); }

    // The desktop: the applications on the bus and the process behind each.
    std::optional<std::vector<AtspiNode>> applications();
    std::optional<qint64> processId(const QString& bus);
    // Asks applications to send the event ("object:state-changed:focused").
    bool registerEvent(const QString& event);

    // Accessible
    std::optional<AtspiRole> role(const AtspiNode& node);
    // The role's own AT-SPI name, as GetRoleName gives it ("text", "entry", "document web").
    std::optional<QString> roleName(const AtspiNode& node);
    std::optional<AtspiStateSet> states(const AtspiNode& node);
    std::optional<QStringList> interfaces(const AtspiNode& node);
    std::optional<QString> name(const AtspiNode& node);
    std::optional<QString> description(const AtspiNode& node);
    std::optional<AtspiNode> parent(const AtspiNode& node);
    std::optional<std::vector<AtspiNode>> children(const AtspiNode& node);
    std::optional<QString> toolkitName(const AtspiNode& applicationRoot);

    // Text, in the toolkit's own offsets (see ToolkitTextModel)
    std::optional<QString> text(const AtspiNode& node, int start = 0, int end = -1);
    std::optional<int> caretOffset(const AtspiNode& node);
    std::optional<int> selectionCount(const AtspiNode& node);
    std::optional<std::pair<int, int>> selection(const AtspiNode& node, int index);
    bool setSelection(const AtspiNode& node, int index, int start, int end);
    bool addSelection(const AtspiNode& node, int start, int end);
    bool removeSelection(const AtspiNode& node, int index);
    bool setCaretOffset(const AtspiNode& node, int offset);

    // EditableText
    bool setTextContents(const AtspiNode& node, const QString& text);
    bool insertText(const AtspiNode& node, int position, const QString& text, int length);
    bool deleteText(const AtspiNode& node, int start, int end);

    // Hypertext: the object behind the index-th embedded object of a text
    std::optional<AtspiNode> linkTarget(const AtspiNode& node, int index);

    std::optional<QString> documentAttribute(const AtspiNode& node, const QString& name);
    // The focused objects under `node`, ancestors before their descendants (Collection.GetMatches).
    std::optional<std::vector<AtspiNode>> focusedDescendants(const AtspiNode& node);
    bool grabFocus(const AtspiNode& node);

private:
    std::optional<QDBusMessage> call(const QString& bus, const QString& path, const QString& interface,
                                     const QString& method, const QVariantList& arguments = {});
    std::optional<QVariant> property(const AtspiNode& node, const QString& interface, const QString& name);
    std::optional<QVariant> firstArgument(const AtspiNode& node, const QString& interface, const QString& method,
                                          const QVariantList& arguments = {});
    bool succeeds(const AtspiNode& node, const QString& interface, const QString& method,
                  const QVariantList& arguments);

    QDBusConnection bus_;
    int timeoutMs_ = 400;
    QSet<QString> unresponsive_;
};

} // namespace lumeno
