#pragma once

#include "shell/HowToView.h"

#include <QPoint>
#include <QWidget>
#include <optional>

namespace lumeno {

// The floating window around HowToView: it stays above other windows, also while Lumeno is not the active
// application, can be closed but not minimised or zoomed, draws no title, and moves when dragged by its
// background. Closing only hides it, so the same panel comes back next time.
class HowToPanel : public QWidget {
    Q_OBJECT
public:
    HowToPanel(HowToSession& session, HowToView::Services services);

    HowToView& view() const { return *view_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    HowToView* view_;
    // Where the pointer holds the panel, from its top left, while we move it ourselves.
    std::optional<QPoint> grip_;
};

} // namespace lumeno
