#pragma once

#include "platform/GlobalHotkeys.h"

namespace lumeno {

// Stands in until the X11 keyboard side exists: every hot key is refused as unavailable, so the settings
// show why nothing answers the key instead of the program silently ignoring it.
class UnavailableGlobalHotkeys final : public GlobalHotkeys {
public:
    Registration registerCombination(quint16, quint64, std::function<void(bool, KeyTime)>) override {
        return Refusal::unavailable;
    }
    void unregister(RegistrationId) override {}
    bool watch(KeyWatch) override { return false; }
    void unwatch() override {}
    bool reportsModifier(quint64) const override { return false; }
    void maskHeldModifiers() override {}
};

} // namespace lumeno
