#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>

// A request to activate a window the window manager has not taken on yet is lost: asks again every quarter
// second until `active()` holds.
inline void activateUntil(QWidget& window, std::function<bool()> active) {
    auto* retry = new QTimer(&window);
    QObject::connect(retry, &QTimer::timeout, &window, [&window, retry, active = std::move(active)] {
        if (active())
            retry->deleteLater();
        else
            window.activateWindow();
    });
    window.activateWindow();
    retry->start(250);
}
