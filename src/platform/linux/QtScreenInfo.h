#pragma once

#include "platform/ScreenInfo.h"

namespace lumeno {

// The screens Qt knows (its primary screen first) and the pointer as Qt last saw it.
class QtScreenInfo final : public ScreenInfo {
public:
    std::vector<Screen> screens() const override;
    std::optional<Screen> mainScreen() const override;
    QPoint pointer() const override;
};

} // namespace lumeno
