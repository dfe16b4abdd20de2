// The secret redactor on any text: it finishes within its budget, leaves a text without secrets as it was,
// and what it gives back has nothing more to redact.
#include "FuzzSupport.h"

#include "foundation/SecretRedactor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumeno;
    fuzz::failOnRunawayPatterns();
    const QString text = fuzz::text(data, size);
    const SecretRedactor::Result once = SecretRedactor::redact(text);
    fuzz::require((once.count == 0) == (once.text == text), "a text is changed exactly when secrets are found");
    const SecretRedactor::Result twice = SecretRedactor::redact(once.text);
    fuzz::require(twice.text == once.text, "redacting a redacted text changes nothing");
    fuzz::require(twice.count == 0, "a redacted text holds no secret");
    return 0;
}
