#include "drafting/ProviderKind.h"

namespace lumeno {

QString displayName(ProviderKind provider) {
    return provider == ProviderKind::anthropic ? QStringLiteral("Anthropic") : QStringLiteral("OpenAI");
}

} // namespace lumeno
