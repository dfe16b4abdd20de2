#pragma once

#include "shell/KeySpot.h"

namespace lumeno {

// One key as the guide draws it: where (in key units), how opaque, and whether it is one of the keys to hold.
struct OnboardingKeyDraw {
    KeySpot spot;
    QString label;
    double x = 0;
    double y = 0;
    double w = 1;
    double h = 1;
    double opacity = 1;
    bool emphasized = false;

    // Unique within one drawing: the label and the position.
    QString id() const;
    bool operator==(const OnboardingKeyDraw&) const = default;
};

} // namespace lumeno
