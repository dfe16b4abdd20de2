#include "shell/OnboardingKeyDraw.h"

namespace lumeno {

QString OnboardingKeyDraw::id() const {
    return label + QLatin1Char('@') + QString::number(x) + QLatin1Char(',') + QString::number(y);
}

} // namespace lumeno
