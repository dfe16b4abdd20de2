#include "ui/WindowFrameAutosave.h"

#include "platform/DefaultsStore.h"
#include "platform/ScreenInfo.h"
#include "support/Scheduler.h"

#include <QEvent>
#include <QJsonObject>
#include <QWidget>

namespace lumeno {

WindowFrameAutosave::WindowFrameAutosave(QWidget& window, QString key, DefaultsStore& defaults,
                                         const ScreenInfo& screens, Scheduler& scheduler)
    : QObject(&window), window_(window), key_(std::move(key)), defaults_(defaults), screens_(screens),
      scheduler_(scheduler) {
    window_.installEventFilter(this);
}

WindowFrameAutosave::~WindowFrameAutosave() {
    // The window is going away with a move not yet written: the frame it was left at still counts.
    savePending();
}

std::optional<QRect> WindowFrameAutosave::saved() const {
    const std::optional<QJsonValue> value = defaults_.get(key_);
    if (!value || !value->isObject())
        return std::nullopt;
    const QJsonObject frame = value->toObject();
    for (const char* field : {"x", "y", "width", "height"})
        if (!frame.value(QLatin1String(field)).isDouble())
            return std::nullopt;
    const QRect rect(frame[QLatin1String("x")].toInt(), frame[QLatin1String("y")].toInt(),
                     frame[QLatin1String("width")].toInt(), frame[QLatin1String("height")].toInt());
    if (rect.width() <= 0 || rect.height() <= 0)
        return std::nullopt;
    return rect;
}

bool WindowFrameAutosave::isOnAScreen(const QRect& frame) const {
    for (const ScreenInfo::Screen& screen : screens_.screens())
        if (screen.visibleFrame.contains(frame.center()))
            return true;
    return false;
}

void WindowFrameAutosave::place() {
    if (std::optional<QRect> frame = saved()) {
        frame->setSize(frame->size().expandedTo(window_.minimumSize()));
        // A frame left on a screen that is no longer attached would open the window out of reach.
        if (isOnAScreen(*frame)) {
            window_.setGeometry(*frame);
            return;
        }
    }
    QRect centred(QPoint(), window_.size());
    if (const std::optional<ScreenInfo::Screen> main = screens_.mainScreen())
        centred.moveCenter(main->visibleFrame.center());
    window_.setGeometry(centred);
}

bool WindowFrameAutosave::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Move || type == QEvent::Resize) && window_.isVisible()) {
            unsaved_ = window_.geometry();
            saveSoon();
        } else if (type == QEvent::Hide) {
            savePending();
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowFrameAutosave::saveSoon() {
    if (pendingSave_)
        scheduler_.cancel(*pendingSave_);
    pendingSave_ = scheduler_.after(saveDelay, [this] {
        pendingSave_.reset();
        savePending();
    });
}

void WindowFrameAutosave::savePending() {
    if (pendingSave_) {
        scheduler_.cancel(*pendingSave_);
        pendingSave_.reset();
    }
    if (!unsaved_)
        return;
    const QRect frame = *std::exchange(unsaved_, std::nullopt);
    defaults_.set(key_, QJsonObject{{QStringLiteral("x"), frame.x()},
                                    {QStringLiteral("y"), frame.y()},
                                    {QStringLiteral("width"), frame.width()},
                                    {QStringLiteral("height"), frame.height()}});
}

} // namespace lumeno
