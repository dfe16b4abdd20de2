#pragma once

#include <QObject>
#include <QRect>

class QWindow;

namespace lumeno {

// What the window system must be told about a floating panel beyond Qt's window flags, and what it tells
// about the way windows are drawn.
class PanelWindowHints : public QObject {
    Q_OBJECT
public:
    // Only `area` (in the panel's own coordinates) takes pointer input; clicks elsewhere, such as on a
    // painted shadow, go to whatever lies beneath.
    virtual void setInputArea(QWindow& panel, const QRect& area) = 0;

    // Whether a compositing manager blends windows with what lies beneath them. Without one, the
    // translucent pixels of a window come out black: a panel then draws itself opaque, cut to its shape.
    virtual bool isCompositing() const = 0;

signals:
    // A compositing manager started or stopped.
    void compositingChanged();
};

} // namespace lumeno
