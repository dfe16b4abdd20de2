#include "shell/CrossFade.h"

#include <QEasingCurve>
#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace lumeno {

CrossFade::CrossFade(QWidget& target, double seconds, AnimationClock clock)
    : QWidget(target.parentWidget()), target_(&target), seconds_(seconds), ticker_(clock) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    target.installEventFilter(this);
}

double CrossFade::easeInOut(double linear) {
    static const QEasingCurve curve = [] {
        QEasingCurve bezier(QEasingCurve::BezierSpline);
        bezier.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
        return bezier;
    }();
    return curve.valueForProgress(std::clamp(linear, 0.0, 1.0));
}

void CrossFade::begin() {
    if (!target_ || !target_->isVisible())
        return;
    // A change during a fade starts from what was on screen, so nothing jumps.
    before_ = isRunning() ? grab() : target_->grab();
    progress_ = 0;
    setGeometry(target_->geometry());
    raise();
    show();
    ticker_.start([this](double elapsed) { return frame(elapsed); });
    frame(0);
}

bool CrossFade::frame(double elapsed) {
    if (!target_ || elapsed >= seconds_) {
        finish();
        return false;
    }
    progress_ = easeInOut(elapsed / seconds_);
    // The new content keeps moving (the demonstration plays on): take it afresh on every frame.
    after_ = target_->grab();
    update();
    return true;
}

void CrossFade::finish() {
    progress_ = 1;
    before_ = {};
    after_ = {};
    hide();
}

bool CrossFade::eventFilter(QObject* watched, QEvent* event) {
    if (watched == target_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        setGeometry(target_->geometry());
    if (watched == target_ && event->type() == QEvent::Hide) {
        ticker_.stop();
        finish();
    }
    return QWidget::eventFilter(watched, event);
}

void CrossFade::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.setOpacity(1 - progress_);
    painter.drawPixmap(0, 0, before_);
    painter.setOpacity(progress_);
    painter.drawPixmap(0, 0, after_);
}

} // namespace lumeno
