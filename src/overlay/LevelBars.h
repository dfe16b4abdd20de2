#pragma once

#include "ui/FrameTicker.h"

#include <QWidget>

#include <array>

namespace lumeno {

// Seven accent bars that rise with the microphone level, the middle ones most. Height changes glide over
// 0.08 s, so the bars move smoothly although levels arrive in steps.
class LevelBars : public QWidget {
    Q_OBJECT
public:
    static constexpr std::array<double, 7> weights = {0.45, 0.7, 0.9, 1.0, 0.9, 0.7, 0.45};
    static constexpr double glideSeconds = 0.08;

    explicit LevelBars(AnimationClock clock, QWidget* parent = nullptr);

    float level() const { return level_; }
    void setLevel(float level);

    // Where the bars are headed for the current level, and where they are drawn now.
    std::array<double, 7> targetHeights() const;
    const std::array<double, 7>& shownHeights() const { return shown_; }

    QSize sizeHint() const override { return {36, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FrameTicker ticker_;
    float level_ = 0;
    std::array<double, 7> shown_;
};

} // namespace lumeno
