#include "shell/GuideClose.h"

#include <QEvent>
#include <QWidget>

namespace lumeno {

GuideClose::GuideClose(QWidget& window, std::function<void()> handler)
    : QObject(&window), handler_(std::move(handler)) {
    window.installEventFilter(this);
}

bool GuideClose::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Close)
        return false;
    event->ignore();
    static_cast<QWidget*>(watched)->hide();
    handler_();
    return true;
}

} // namespace lumeno
