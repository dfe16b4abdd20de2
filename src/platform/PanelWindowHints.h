#pragma once

#include <QRect>

class QWindow;

namespace lumeno {

// What the window system must be told about a floating panel beyond Qt's window flags.
class PanelWindowHints {
public:
    virtual ~PanelWindowHints() = default;

    // Keeps the panel out of task bars and pagers and shows it on every virtual desktop. Call once the
    // native window exists and before it is first shown.
    virtual void prepare(QWindow& panel) = 0;
    // Only `area` (in the panel's own coordinates) takes pointer input; clicks elsewhere, such as on a
    // painted shadow, go to whatever lies beneath.
    virtual void setInputArea(QWindow& panel, const QRect& area) = 0;
};

} // namespace lumeno
