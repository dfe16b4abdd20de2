#include "shell/KeycapAccessible.h"

#include "shell/KeyRow.h"
#include "shell/Keycap.h"

#include <QWindow>

namespace lumeno {

KeycapAccessible::KeycapAccessible(KeyRow& row, int index) : row_(&row), index_(index) {}

bool KeycapAccessible::isValid() const {
    return row_ && index_ < int(row_->draws().size());
}

QWindow* KeycapAccessible::window() const {
    return row_ ? row_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* KeycapAccessible::parent() const {
    return row_ ? QAccessible::queryAccessibleInterface(row_.data()) : nullptr;
}

QString KeycapAccessible::text(QAccessible::Text kind) const {
    if (kind != QAccessible::Name || !isValid())
        return {};
    const OnboardingKeyDraw& draw = row_->draws()[index_];
    return Keycap::accessibleName(draw.label);
}

QRect KeycapAccessible::rect() const {
    if (!isValid())
        return {};
    const QRect frame = row_->keyFrame(index_).toAlignedRect();
    return QRect(row_->mapToGlobal(frame.topLeft()), frame.size());
}

QAccessible::State KeycapAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.selectable = true;
    state.selected = row_->draws()[index_].emphasized;
    return state;
}

} // namespace lumeno
