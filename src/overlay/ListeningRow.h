#pragma once

#include "ui/FrameTicker.h"

#include <QWidget>

namespace lumeno {

class FittingText;
class LevelBars;
class OverlayModel;

// While the user speaks: the level bars, the live transcript (or a hint while nothing is heard yet), the
// badges and the close button.
class ListeningRow : public QWidget {
    Q_OBJECT
public:
    ListeningRow(OverlayModel& model, AnimationClock clock, QWidget* parent = nullptr);

    // The transcript, or the hint: "Listening…" (or "Say how to change it…" in an edit), with how to finish
    // when listening hands-free.
    static QString placeholderOrTranscript(const OverlayModel& model);

private:
    void refresh();

    OverlayModel& model_;
    QWidget* editTag_;
    LevelBars* bars_;
    FittingText* text_;
};

} // namespace lumeno
