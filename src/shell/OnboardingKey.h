#pragma once

#include "shell/KeySpot.h"

#include <QPointF>

namespace lumeno {

// One key of the drawn keyboard, in key units: one unit is a letter key's width; y grows downwards.
struct OnboardingKey {
    KeySpot spot;
    QString label;
    double x = 0;
    double y = 0;
    double w = 1;
    double h = 1;

    QPointF center() const { return {x + w / 2, y + h / 2}; }
    bool operator==(const OnboardingKey&) const = default;
};

} // namespace lumeno
