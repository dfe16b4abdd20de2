#include "foundation/Surface.h"

namespace lumeno {

QString rawValue(Surface surface) {
    switch (surface) {
    case Surface::email:
        return QStringLiteral("email");
    case Surface::chat:
        return QStringLiteral("chat");
    case Surface::linkedIn:
        return QStringLiteral("linkedIn");
    case Surface::other:
        return QStringLiteral("other");
    }
    return QString();
}

std::optional<Surface> surfaceFromRawValue(const QString& raw) {
    for (Surface surface : allSurfaces)
        if (rawValue(surface) == raw)
            return surface;
    return std::nullopt;
}

} // namespace lumeno
