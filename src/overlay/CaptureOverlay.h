#pragma once

#include "overlay/OverlayModel.h"
#include "support/Scheduler.h"

#include <QObject>

#include <memory>
#include <optional>

namespace lumeno {

class Clock;
class OverlayPanel;
class OverlayView;
class PanelWindowHints;
class ScreenInfo;

// The capture overlay: a small floating bar at the bottom centre of the screen under the pointer showing
// what the reply loop is doing. Built without a window; the panel comes with the first show and is then
// kept. A delayed hide acts only if nothing was shown since it was asked for.
class CaptureOverlay : public QObject {
    Q_OBJECT
public:
    CaptureOverlay(Scheduler& scheduler, const Clock& clock, ScreenInfo& screens, PanelWindowHints& hints,
                   QObject* parent = nullptr);
    ~CaptureOverlay() override;

    OverlayModel& model() { return model_; }

    // Shows the panel for `phase` on the screen under the pointer, cancelling any hide that is waiting.
    void show(OverlayPhase phase);
    // Hides the panel `seconds` from now (0: on the next turn of the event loop, never inside the call)
    // unless it is shown again first; replaces a hide asked for earlier.
    void hide(double seconds);
    // Fits the visible panel to what its row shows now, on the screen under the pointer.
    void relayout();
    bool isVisible() const;

private:
    OverlayPanel& ensurePanel();
    void layout(OverlayPanel& panel);
    void hideNow();

    OverlayModel model_;
    Scheduler& scheduler_;
    const Clock& clock_;
    ScreenInfo& screens_;
    PanelWindowHints& hints_;
    std::unique_ptr<OverlayPanel> panel_;
    OverlayView* view_ = nullptr;
    // The last hide asked for: a show, a newer hide and the destructor cancel it (once run, cancelling is a no-op).
    std::optional<Scheduler::TimerId> hideWork_;
};

} // namespace lumeno
