#pragma once

#include "ui/GlassBackground.h"

#include <QWidget>

namespace lumeno {

class PanelWindowHints;

// A floating panel that never takes the keyboard: frameless, above other windows, on every desktop and in
// no task bar, shown without activating the program, so the application being typed into keeps its focus
// while the panel's buttons still answer the first click. Its content sits on a rounded sheet with a
// soft shadow; the window reaches past the sheet by the shadow's margins, and only the sheet takes clicks.
class OverlayPanel : public QWidget {
    Q_OBJECT
public:
    enum class Sheet { glass, window };

    OverlayPanel(QWidget* content, Sheet sheet, PanelWindowHints& hints);

    // The sheet's frame in desktop coordinates.
    QRect sheetGeometry() const;
    qreal cornerRadius() const { return radius_; }
    // Moves and sizes the sheet; nothing happens when both are already so.
    void place(const QRect& sheet, qreal cornerRadius);
    // Shows the panel in front without activating the program.
    void present();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* content_;
    Sheet sheet_;
    PanelWindowHints& hints_;
    GlassBackground background_;
    qreal radius_ = 0;
};

} // namespace lumeno
