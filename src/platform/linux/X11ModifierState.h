#pragma once

#include "platform/ModifierState.h"

#include <memory>

namespace lumeno {

class XcbConnection;

// The modifier keys the X server sees held, asked key by key (side bits included).
class X11ModifierState final : public ModifierState {
public:
    explicit X11ModifierState(std::shared_ptr<XcbConnection> connection);

    quint64 flags() const override;

private:
    std::shared_ptr<XcbConnection> x_;
};

} // namespace lumeno
