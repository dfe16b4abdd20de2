#pragma once

#include "ui/FrameTicker.h"

#include <QWidget>

namespace lumeno {

class FittingText;
class OverlayModel;

// While the words are finalised and the reply is drafted: a spinner, what is happening, the dictation in
// quotes, the badges and the close button.
class DraftingRow : public QWidget {
    Q_OBJECT
public:
    DraftingRow(OverlayModel& model, AnimationClock clock, QWidget* parent = nullptr);

    static QString title(const OverlayModel& model);

private:
    void refresh();

    OverlayModel& model_;
    QWidget* editTag_;
    FittingText* title_;
    FittingText* transcript_;
};

} // namespace lumeno
