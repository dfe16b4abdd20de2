#pragma once

#include "platform/ScreenInfo.h"

namespace lumeno {

// Screens and a pointer the test arranges. Starts with one 1440 × 900 screen whose top 25 points are a
// bar, and the pointer in its middle.
class FakeScreenInfo final : public ScreenInfo {
public:
    FakeScreenInfo();

    std::vector<Screen> screens() const override { return screenList; }
    std::optional<Screen> mainScreen() const override;
    QPoint pointer() const override { return pointerAt; }

    std::vector<Screen> screenList;
    int mainIndex = 0; // into screenList
    QPoint pointerAt;
};

} // namespace lumeno
