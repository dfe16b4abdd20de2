#pragma once

#include "foundation/SecretRule.h"

namespace lumeno {

// API keys and access tokens that give themselves away by shape: a provider's fixed prefix followed by a
// run of key characters long enough that no ordinary word looks like it.
class ProviderTokens {
public:
    static std::vector<SecretRule> rules();
};

} // namespace lumeno
