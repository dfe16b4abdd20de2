#pragma once

#include "ui/GlassBackground.h"

#include <QWidget>

#include <optional>

namespace lumeno {

class PanelWindowHints;

// A floating panel that never takes the keyboard: frameless, left alone by the window manager (so nothing,
// not even a full-screen window, stacks above it, and no frame catches clicks around it), on every desktop
// and in no task bar, shown without activating the program, so the application being typed into keeps its
// focus while the panel's buttons still answer the first click and their help texts show on hover.
//
// Its content sits on a rounded sheet. Where a compositing manager runs, the sheet is slightly translucent
// with a soft shadow, and the window reaches past it by the shadow's margins (and from side to side over
// the room it is placed in); only the sheet takes clicks.
// Without one, the window is cut to the sheet's shape and painted opaque.
class OverlayPanel : public QWidget {
    Q_OBJECT
public:
    enum class Sheet { glass, window };

    OverlayPanel(QWidget* content, Sheet sheet, PanelWindowHints& hints);

    // The sheet's frame in desktop coordinates.
    QRect sheetGeometry() const;
    qreal cornerRadius() const { return radius_; }
    // Moves and sizes the sheet; nothing happens when both are already so. `room`, when given, is the
    // stretch of screen the sheet may take from side to side while it is up: the window spans all of it,
    // so a sheet that widens or narrows is only painted anew. A window resized instead shows, under a
    // compositing manager, its old picture for a moment at the new size: a piece of the wider sheet's end
    // beside the narrower one's.
    void place(const QRect& sheet, qreal cornerRadius, std::optional<QRect> room = std::nullopt);
    // Shows the panel in front without activating the program.
    void present();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect sheetInPanel() const;
    // The window's shape for the way windows are drawn now.
    void applyShape();

    QWidget* content_;
    Sheet sheet_;
    PanelWindowHints& hints_;
    GlassBackground background_;
    qreal radius_ = 0;
};

} // namespace lumeno
