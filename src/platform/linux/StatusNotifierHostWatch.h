#pragma once

#include <QDBusConnection>
#include <QObject>

#include <optional>

class QDBusServiceWatcher;

namespace lumeno {

// Whether a status-notifier host (a panel that shows the items of org.kde.StatusNotifierWatcher) runs on
// the session bus: the watcher service is there and says a host has registered with it. Read without ever
// waiting on the bus. A watcher that restarts, or a host that registers again, is announced even when the
// answer stays yes: the items shown there must register anew.
class StatusNotifierHostWatch : public QObject {
    Q_OBJECT
public:
    explicit StatusNotifierHostWatch(QDBusConnection bus, QObject* parent = nullptr);

    // None until the bus has answered once.
    std::optional<bool> isAvailable() const { return available_; }

signals:
    // The first answer, a change of it, or a new watcher or host.
    void changed();

private slots:
    void readHostRegistered();
    void renew();

private:
    void setAvailable(bool available);

    QDBusConnection bus_;
    QDBusServiceWatcher* watcher_;
    std::optional<bool> available_;
    // A new watcher or host came since the last answer.
    bool renewed_ = false;
    // Answers to older reads that arrive after a newer one was asked are stale.
    quint64 reads_ = 0;
};

} // namespace lumeno
