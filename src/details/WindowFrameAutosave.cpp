#include "details/WindowFrameAutosave.h"

#include "platform/DefaultsStore.h"

#include <QEvent>
#include <QGuiApplication>
#include <QJsonObject>
#include <QScreen>
#include <QWidget>

namespace lumeno {

WindowFrameAutosave::WindowFrameAutosave(QWidget& window, DefaultsStore& defaults, QString name)
    : QObject(&window), window_(window), defaults_(defaults), name_(std::move(name)) {
    window_.installEventFilter(this);
}

QString WindowFrameAutosave::key() const {
    return QStringLiteral("windowFrame.") + name_;
}

std::optional<QRect> WindowFrameAutosave::saved() const {
    const std::optional<QJsonValue> value = defaults_.get(key());
    if (!value || !value->isObject())
        return std::nullopt;
    const QJsonObject frame = value->toObject();
    for (const char* field : {"x", "y", "width", "height"})
        if (!frame.value(QLatin1String(field)).isDouble())
            return std::nullopt;
    const QRect rect(frame["x"].toInt(), frame["y"].toInt(), frame["width"].toInt(), frame["height"].toInt());
    if (rect.width() <= 0 || rect.height() <= 0)
        return std::nullopt;
    return rect;
}

bool WindowFrameAutosave::restore() {
    const std::optional<QRect> frame = saved();
    // A frame left on a screen that is no longer attached would open the window out of reach.
    if (!frame || !QGuiApplication::screenAt(frame->center()))
        return false;
    window_.setGeometry(QRect(frame->topLeft(), frame->size().expandedTo(window_.minimumSize())));
    return true;
}

bool WindowFrameAutosave::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && window_.isVisible() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        const QRect frame = window_.geometry();
        defaults_.set(key(), QJsonObject{{"x", frame.x()}, {"y", frame.y()}, {"width", frame.width()},
                                         {"height", frame.height()}});
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumeno
