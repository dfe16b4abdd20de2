#pragma once

#include "platform/ModifierState.h"
#include "platform/fake/FakeGlobalHotkeys.h"

namespace lumeno {

// The modifiers held on the fake keyboard.
class FakeModifierState final : public ModifierState {
public:
    explicit FakeModifierState(const FakeGlobalHotkeys& keyboard) : keyboard_(keyboard) {}

    quint64 flags() const override { return keyboard_.modifiers(); }

private:
    const FakeGlobalHotkeys& keyboard_;
};

} // namespace lumeno
