#pragma once

#include "platform/linux/AtspiClient.h"
#include "platform/linux/ToolkitTextModel.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>

#include <memory>
#include <optional>
#include <vector>

namespace lumeno {

// The accessibility bus as seen from the worker thread: the connection, the applications on it (process,
// toolkit, what they support), and the focus and active window each one last reported. Lives on the
// worker thread and is only used there.
class AtspiDesktop : public QObject {
    Q_OBJECT
public:
    // `busAddress`: the accessibility bus to use; empty asks the session bus for it (org.a11y.Bus).
    explicit AtspiDesktop(QString busAddress, QObject* parent = nullptr);
    ~AtspiDesktop() override;

    // Connects (again) when not connected; false while there is no accessibility bus to reach.
    bool ensureConnected();
    AtspiClient& client() { return *client_; }

    // The bus names of the process's applications, looked up again when none is known.
    std::vector<QString> applicationBuses(qint64 pid);
    QString toolkit(const QString& bus);
    ToolkitTextModel textModel(const QString& bus) { return ToolkitTextModel::forToolkit(toolkit(bus)); }
    bool supportsCollection(const QString& bus);

    // What the application last said by event; none when it said nothing or took it back.
    std::optional<AtspiNode> reportedFocus(const QString& bus) const;
    std::optional<AtspiNode> reportedActiveWindow(const QString& bus) const;

    // Role and interfaces of an object never change: asked once per object while a read lasts.
    struct Facts {
        AtspiRole role = AtspiRole::invalid;
        QStringList interfaces;
        bool hasText() const { return has("Text"); }
        bool hasEditableText() const { return has("EditableText"); }
        bool hasHypertext() const { return has("Hypertext"); }
        bool hasCollection() const { return has("Collection"); }

    private:
        bool has(const char* interface) const;
    };
    std::optional<Facts> facts(const AtspiNode& node);
    // Starts a new read: what the cache holds may be stale by now.
    void forgetFacts() { facts_.clear(); }

private slots:
    void onStateChanged(const QDBusMessage& message);
    void onWindowActivated(const QDBusMessage& message);

private:
    struct Application {
        qint64 pid = 0;
        std::optional<QString> toolkit;
    };

    QString resolveAddress() const;
    void refreshApplications();

    QString busAddress_;
    QString connectionName_;
    std::optional<QDBusConnection> bus_;
    std::unique_ptr<AtspiClient> client_;
    QHash<QString, Application> applications_;
    QHash<QString, AtspiNode> focus_;
    QHash<QString, AtspiNode> activeWindows_;
    QHash<AtspiNode, Facts> facts_;
};

} // namespace lumeno
