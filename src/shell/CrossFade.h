#pragma once

#include "ui/FrameTicker.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

namespace lumeno {

// Blends a widget from how it looked into how it looks now: begin() keeps a picture of the widget, the
// caller changes it, and for `seconds` a cover over the widget fades the old picture out while the new
// content fades in, on an ease-in-out curve. The cover lets the pointer through and never takes the
// focus, so the new content is usable while it appears.
class CrossFade : public QWidget {
    Q_OBJECT
public:
    CrossFade(QWidget& target, double seconds, AnimationClock clock);

    // Call just before changing the target. Does nothing while the target is not on screen.
    void begin();
    bool isRunning() const { return ticker_.isRunning(); }
    // How far the new content has come in, eased: 0 at the start, 1 when done (and while idle).
    double progress() const { return progress_; }

    // The standard ease-in-out curve (slow start, slow end) at `linear` 0 to 1.
    static double easeInOut(double linear);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool frame(double elapsed);
    void finish();

    QPointer<QWidget> target_;
    double seconds_;
    FrameTicker ticker_;
    QPixmap before_;
    QPixmap after_;
    double progress_ = 1;
};

} // namespace lumeno
