#include "shell/MenuShortcuts.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>

namespace lumeno {

MenuShortcuts::MenuShortcuts(QMenu& menu, std::function<void()> rebuild, QObject* parent)
    : QObject(parent), menu_(menu), rebuild_(std::move(rebuild)) {
    QCoreApplication::instance()->installEventFilter(this);
}

MenuShortcuts::~MenuShortcuts() {
    QCoreApplication::instance()->removeEventFilter(this);
}

QAction* MenuShortcuts::itemFor(const QKeyEvent& key) {
    // Every shortcut of the menu holds Ctrl: other keys never rebuild it.
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (!(modifiers & Qt::ControlModifier))
        return nullptr;
    if (!menu_.isVisible())
        rebuild_();
    const QKeySequence pressed(QKeyCombination(modifiers, Qt::Key(key.key())));
    for (QAction* item : menu_.actions()) {
        if (item->isVisible() && item->isEnabled() && !item->shortcut().isEmpty() && item->shortcut() == pressed)
            return item;
    }
    return nullptr;
}

bool MenuShortcuts::eventFilter(QObject* watched, QEvent* event) {
    const bool claim = event->type() == QEvent::ShortcutOverride;
    // A press reaches the window first, then the widget with the focus: it is taken once, at the widget.
    if ((!claim && event->type() != QEvent::KeyPress) || !watched->isWidgetType())
        return false;
    QAction* item = itemFor(static_cast<const QKeyEvent&>(*event));
    if (!item)
        return false;
    if (claim) {
        // No other shortcut of the window acts on it: the press itself comes here next.
        event->accept();
        return true;
    }
    menu_.hide();
    item->trigger();
    return true;
}

} // namespace lumeno
