#pragma once

#include <QString>

#include <optional>

namespace lumeno {

// The company whose model wrote a draft. The raw values are stored in settings and draft records.
enum class ProviderKind { anthropic, openai };

QString rawValue(ProviderKind provider);                                   // "anthropic", "openai"
std::optional<ProviderKind> providerKindFromRawValue(const QString& raw); // none for any other text
QString displayName(ProviderKind provider);                               // "Anthropic", "OpenAI"

} // namespace lumeno
