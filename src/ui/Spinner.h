#pragma once

#include "ui/FrameTicker.h"

#include <QWidget>

namespace lumeno {

// An indeterminate progress indicator: twelve spokes fading round a circle, turning while it is visible.
class Spinner : public QWidget {
    Q_OBJECT
public:
    Spinner(AnimationClock clock, int side, QWidget* parent = nullptr);

    // Which spoke is brightest, 0 to 11.
    int leadingSpoke() const { return leadingSpoke_; }
    QSize sizeHint() const override { return {side_, side_}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    FrameTicker ticker_;
    int side_;
    int leadingSpoke_ = 0;
};

} // namespace lumeno
