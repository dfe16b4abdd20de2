#include "shell/ShortcutRecorder.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace lumeno {

ShortcutRecorder::ShortcutRecorder(const KeyboardLayoutSource& keys, QObject* parent) : QObject(parent), keys_(keys) {}

ShortcutRecorder::~ShortcutRecorder() {
    stop();
}

void ShortcutRecorder::start() {
    if (recording_)
        return;
    recording_ = true;
    QCoreApplication::instance()->installEventFilter(this);
}

void ShortcutRecorder::stop() {
    if (!recording_)
        return;
    recording_ = false;
    QCoreApplication::instance()->removeEventFilter(this);
}

bool ShortcutRecorder::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claim the key before any shortcut can act on it.
        event->accept();
        return true;
    case QEvent::KeyPress: {
        // Taken here, the press never reaches a window or widget, so each press is seen once.
        if (const std::optional<RecordedKey> recorded = RecordedKey::from(*static_cast<QKeyEvent*>(event), keys_))
            emit keyRecorded(*recorded);
        return true;
    }
    case QEvent::KeyRelease:
        return true;
    default:
        return false;
    }
}

} // namespace lumeno
