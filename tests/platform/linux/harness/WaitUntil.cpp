#include "platform/linux/harness/WaitUntil.h"

#include <QAbstractEventDispatcher>
#include <QDeadlineTimer>
#include <QTimer>

namespace lumeno::desktop {

namespace {

constexpr int recheckMs = 10;

} // namespace

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    // Blocks in the event loop, so an event is handled the moment it arrives (what the latency figures rely
    // on), and the ticks bound both the re-checks and the whole wait.
    const QDeadlineTimer deadline(timeoutMs);
    QTimer tick;
    tick.start(recheckMs);
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        dispatcher->processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace lumeno::desktop
