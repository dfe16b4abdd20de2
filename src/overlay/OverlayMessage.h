#pragma once

#include "overlay/OverlayAction.h"

#include <QString>

#include <optional>

namespace lumeno {

// What the overlay's message row shows: an error or a notice, with an optional second line and action.
struct OverlayMessage {
    enum class Kind { error, notice };

    Kind kind = Kind::notice;
    QString title;
    std::optional<QString> detail;
    std::optional<OverlayAction> action;

    bool operator==(const OverlayMessage&) const = default;
};

} // namespace lumeno
