#pragma once

#include "shell/HowToView.h"

#include <QPoint>
#include <QWidget>
#include <optional>

namespace lumeno {

// The window around HowToView: an ordinary window with its entry in the task bar, so the windows opened
// after it (Memory, Settings, the desktop's own settings) come in front of it like any other, and it stays
// on screen while the user goes to try the gesture in another application. Its title bar offers only closing
// (so do Escape and Ctrl+W), and it moves when dragged by its background. Closing only hides it, so the
// same window comes back next time.
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
    // Where the pointer holds the panel, from its top left, from the left button's press to its release.
    std::optional<QPoint> grip_;
};

} // namespace lumeno
