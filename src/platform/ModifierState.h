#pragma once

#include <QtGlobal>

namespace lumeno {

// The modifier keys held right now, asked whenever needed (no permission required).
class ModifierState {
public:
    virtual ~ModifierState() = default;

    // The generic flags and side bits of VirtualKeyCodes.h; 0 when nothing is held.
    virtual quint64 flags() const = 0;
};

} // namespace lumeno
