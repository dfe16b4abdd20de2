#pragma once

#include "ui/FrameTicker.h"

#include <QWidget>

class QVBoxLayout;

namespace lumeno {

class OverlayModel;

// The capture overlay's content: the row for the model's phase inside fixed paddings. It always wants its
// ideal size; the panel is fitted around it.
class OverlayView : public QWidget {
    Q_OBJECT
public:
    OverlayView(OverlayModel& model, AnimationClock clock, QWidget* parent = nullptr);

    // The ideal size for what the row shows now, with no layout pass left waiting in the event queue.
    QSize measure();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    void rebuildRow();

    OverlayModel& model_;
    AnimationClock clock_;
    QVBoxLayout* layout_;
    QWidget* row_ = nullptr;
};

} // namespace lumeno
