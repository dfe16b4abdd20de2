#include "shell/KeyRowAccessible.h"

#include "shell/KeyRow.h"
#include "shell/KeycapAccessible.h"

namespace lumeno {

namespace {

QAccessibleInterface* keyRowFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(KeyRow::staticMetaObject.className()))
        return new KeyRowAccessible(*static_cast<KeyRow*>(object));
    return nullptr;
}

} // namespace

KeyRowAccessible::KeyRowAccessible(KeyRow& row) : QAccessibleWidget(&row, QAccessible::Grouping) {}

KeyRowAccessible::~KeyRowAccessible() {
    for (const QAccessible::Id id : keys_)
        QAccessible::deleteAccessibleInterface(id);
}

void KeyRowAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(keyRowFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

KeyRow& KeyRowAccessible::row() const {
    return *static_cast<KeyRow*>(widget());
}

int KeyRowAccessible::childCount() const {
    return int(row().draws().size());
}

QAccessibleInterface* KeyRowAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    while (int(keys_.size()) <= index)
        keys_.push_back(QAccessible::registerAccessibleInterface(new KeycapAccessible(row(), int(keys_.size()))));
    return QAccessible::accessibleInterface(keys_[index]);
}

int KeyRowAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* key = dynamic_cast<const KeycapAccessible*>(child);
    return key && key->isValid() && key->parent() == this ? key->index() : -1;
}

QAccessibleInterface* KeyRowAccessible::childAt(int x, int y) const {
    const QPoint local = row().mapFromGlobal(QPoint(x, y));
    // The last drawn key is on top where frames touch.
    for (int index = childCount() - 1; index >= 0; --index) {
        if (row().keyFrame(index).contains(local))
            return child(index);
    }
    return nullptr;
}

} // namespace lumeno
