#pragma once

#include "details/DraftDetailsView.h"

#include <QWidget>

namespace lumeno {

class DefaultsStore;
class Scheduler;
class ScreenInfo;
class WindowFrameAutosave;

// The "Lumeno Debug" window around DraftDetailsView: 820 x 620 at first, never smaller than 700 x 460,
// reopening at the frame the user last left it (else centred). Built once by the window manager and only
// hidden when closed.
class DraftDetailsWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize contentSize{820, 620};
    static constexpr QSize minimumContentSize{700, 460};
    static inline const QString frameKey = QStringLiteral("LumenoDraftDetails");

    DraftDetailsWindow(DraftDetailsView::Services services, DefaultsStore& defaults, const ScreenInfo& screens,
                       Scheduler& scheduler, QWidget* parent = nullptr);

    DraftDetailsView& view() { return *view_; }
    // Shows the window and brings it in front of the others.
    void front();

private:
    DraftDetailsView* view_;
    WindowFrameAutosave* frame_;
};

} // namespace lumeno
