#pragma once

#include <QString>
#include <array>
#include <optional>

namespace lumeno {

// The kind of message a reply goes to; it decides the greeting and sign-off rules of the draft. Draft
// records store the raw value. SurfaceClassifier works it out for a focused field.
enum class Surface { email, chat, linkedIn, other };

inline constexpr std::array<Surface, 4> allSurfaces = {Surface::email, Surface::chat, Surface::linkedIn,
                                                       Surface::other};

QString rawValue(Surface surface);                              // "email", "chat", "linkedIn", "other"
std::optional<Surface> surfaceFromRawValue(const QString& raw); // none for any other text

} // namespace lumeno
