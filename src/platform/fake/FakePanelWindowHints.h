#pragma once

#include "platform/PanelWindowHints.h"

#include <QPointer>
#include <QWindow>

#include <map>
#include <vector>

namespace lumeno {

// Records what the program asked of the window system, per panel.
class FakePanelWindowHints final : public PanelWindowHints {
public:
    void prepare(QWindow& panel) override { prepared.push_back(&panel); }
    void setInputArea(QWindow& panel, const QRect& area) override { inputAreas[&panel] = area; }

    std::vector<QPointer<QWindow>> prepared;
    std::map<const QWindow*, QRect> inputAreas;
};

} // namespace lumeno
