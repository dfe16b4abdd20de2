#pragma once

#include <QWidget>

namespace lumeno {

// Takes a widget out of its window at once and deletes it once control is back in the event loop: a
// click handler may replace the very row or button whose signal is still running.
inline void discardLater(QWidget* widget) {
    if (!widget)
        return;
    widget->hide();
    widget->setParent(nullptr);
    widget->deleteLater();
}

} // namespace lumeno
