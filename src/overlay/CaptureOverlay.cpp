#include "overlay/CaptureOverlay.h"

#include "overlay/OverlayLayout.h"
#include "overlay/OverlayPanel.h"
#include "overlay/OverlayView.h"

namespace lumeno {

CaptureOverlay::CaptureOverlay(Scheduler& scheduler, const Clock& clock, ScreenInfo& screens, PanelWindowHints& hints,
                               QObject* parent)
    : QObject(parent), scheduler_(scheduler), clock_(clock), screens_(screens), hints_(hints) {}

CaptureOverlay::~CaptureOverlay() {
    if (hideWork_)
        scheduler_.cancel(*hideWork_);
}

void CaptureOverlay::show(OverlayPhase phase) {
    if (hideWork_)
        scheduler_.cancel(*hideWork_);
    model_.setPhase(phase);
    OverlayPanel& panel = ensurePanel();
    layout(panel);
    panel.present();
}

void CaptureOverlay::hide(double seconds) {
    if (hideWork_)
        scheduler_.cancel(*hideWork_);
    hideWork_ = scheduler_.after(seconds, [this] { hideNow(); });
}

void CaptureOverlay::relayout() {
    if (panel_ && panel_->isVisible())
        layout(*panel_);
}

bool CaptureOverlay::isVisible() const {
    return panel_ && panel_->isVisible();
}

void CaptureOverlay::hideNow() {
    if (panel_)
        panel_->hide();
    model_.setPhase(OverlayPhase::hidden);
    model_.reset();
}

OverlayPanel& CaptureOverlay::ensurePanel() {
    if (!panel_) {
        view_ = new OverlayView(model_, AnimationClock{scheduler_, clock_});
        panel_ = std::make_unique<OverlayPanel>(view_, OverlayPanel::Sheet::glass, hints_);
        panel_->setObjectName(QStringLiteral("captureOverlayPanel"));
    }
    return *panel_;
}

void CaptureOverlay::layout(OverlayPanel& panel) {
    const OverlayLayout::WorkArea area = OverlayLayout::workArea(screens_);
    const auto placement = OverlayLayout::capturePanel(area.visible, view_->measure());
    panel.place(area.toWindow(placement.frame), placement.cornerRadius, area.toWindow(area.visible));
}

} // namespace lumeno
