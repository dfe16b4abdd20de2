#pragma once

#include "platform/ModifierState.h"

namespace lumeno {

// Stands in until the X11 keyboard side exists: no modifier is ever seen held.
class UnavailableModifierState final : public ModifierState {
public:
    quint64 flags() const override { return 0; }
};

} // namespace lumeno
