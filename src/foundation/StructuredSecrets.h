#pragma once

#include "foundation/SecretRule.h"

namespace lumeno {

// Secrets recognised by their structure rather than a provider's prefix: private key blocks, JSON web
// tokens, bearer and authorization credentials, passwords inside URLs and payment card numbers.
class StructuredSecrets {
public:
    static std::vector<SecretRule> rules();
};

} // namespace lumeno
