#pragma once

#include "support/RawValue.h"

#include <QObject>
#include <array>

namespace lumeno {

// Its own namespace only because Qt's meta-object for the names is one per namespace.
namespace SurfaceEnum {
Q_NAMESPACE
// The kind of message a reply goes to; it decides the greeting and sign-off rules of the draft. Draft
// records store the name (rawValue). SurfaceClassifier works it out for a focused field.
enum class Surface { email, chat, linkedIn, other };
Q_ENUM_NS(Surface)
} // namespace SurfaceEnum
using SurfaceEnum::Surface;

inline constexpr std::array<Surface, 4> allSurfaces = {Surface::email, Surface::chat, Surface::linkedIn,
                                                       Surface::other};

} // namespace lumeno
