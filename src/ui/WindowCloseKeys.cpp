#include "ui/WindowCloseKeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace lumeno {

namespace {

// Sees a key press only once it reaches the window itself: the window had the focus, or every control on
// the way up passed the key on.
class CloseKeys : public QObject {
public:
    explicit CloseKeys(QWidget& window) : QObject(&window), window_(window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
        const bool escape = key.key() == Qt::Key_Escape && modifiers == Qt::NoModifier;
        const bool closeWindow = key.key() == Qt::Key_W && modifiers == Qt::ControlModifier;
        if (!escape && !closeWindow)
            return false;
        window_.close();
        return true;
    }

private:
    QWidget& window_;
};

} // namespace

void closeOnStandardKeys(QWidget& window) {
    new CloseKeys(window);
}

} // namespace lumeno
