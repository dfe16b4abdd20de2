#include "drafting/ProviderKind.h"

namespace lumeno {

QString rawValue(ProviderKind provider) {
    return provider == ProviderKind::anthropic ? QStringLiteral("anthropic") : QStringLiteral("openai");
}

std::optional<ProviderKind> providerKindFromRawValue(const QString& raw) {
    if (raw == QLatin1String("anthropic"))
        return ProviderKind::anthropic;
    if (raw == QLatin1String("openai"))
        return ProviderKind::openai;
    return std::nullopt;
}

QString displayName(ProviderKind provider) {
    return provider == ProviderKind::anthropic ? QStringLiteral("Anthropic") : QStringLiteral("OpenAI");
}

} // namespace lumeno
