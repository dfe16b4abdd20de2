#include "shell/GuideClose.h"

#include <QEvent>
#include <QWidget>

namespace lumeno {

GuideClose::GuideClose(QWidget& window, std::function<void()> handler)
    : QObject(&window), handler_(std::move(handler)) {
    window.installEventFilter(this);
}

bool GuideClose::eventFilter(QObject*, QEvent* event) {
    // The close goes on: a closed window is only hidden, and the guide keeps its state in its session.
    if (event->type() == QEvent::Close)
        handler_();
    return false;
}

} // namespace lumeno
