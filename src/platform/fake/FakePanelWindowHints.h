#pragma once

#include "platform/PanelWindowHints.h"

#include <QWindow>

#include <map>

namespace lumeno {

// Records what the program asked of the window system, per panel; a compositing manager runs until a test
// stops it.
class FakePanelWindowHints final : public PanelWindowHints {
public:
    void setInputArea(QWindow& panel, const QRect& area) override { inputAreas[&panel] = area; }
    bool isCompositing() const override { return compositing_; }

    void setCompositing(bool compositing) {
        if (std::exchange(compositing_, compositing) != compositing)
            emit compositingChanged();
    }

    std::map<const QWindow*, QRect> inputAreas;

private:
    bool compositing_ = true;
};

} // namespace lumeno
