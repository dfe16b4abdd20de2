#include "platform/fake/FakeScreenInfo.h"

namespace lumeno {

FakeScreenInfo::FakeScreenInfo()
    : screenList{{QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875)}}, pointerAt(720, 450) {}

std::optional<ScreenInfo::Screen> FakeScreenInfo::mainScreen() const {
    if (mainIndex < 0 || mainIndex >= int(screenList.size()))
        return std::nullopt;
    return screenList[size_t(mainIndex)];
}

} // namespace lumeno
