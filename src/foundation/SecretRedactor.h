#pragma once

#include "foundation/SecretRule.h"

#include <QString>

namespace lumeno {

// Removes secrets from text before it leaves the machine or is stored: API keys and access tokens, bearer
// tokens, JWTs, private key blocks, payment card numbers, passwords and codes behind a label, and passwords
// in URLs. A secret behind a label keeps its label and separator ("password: [redacted]").
class SecretRedactor {
public:
    struct Result {
        QString text;
        // How many secrets were replaced.
        int count = 0;
        bool operator==(const Result&) const = default;
    };

    // What every secret is replaced with.
    static QString marker() { return QStringLiteral("[redacted]"); }
    static constexpr int maxRounds = 4;

    // Pure and total: a text without secrets comes back unchanged with a count of 0. A text that cannot be
    // checked in time (a search of a rule runs out of its budget) is withheld whole: it comes back as the
    // marker alone, counted as one secret, and so is one that still shows new secrets after `maxRounds`
    // searches (each replacement can make what is around it read as another). The marker already in a text
    // is left as it is, and so is whatever a rule would take in with it: a redacted text comes back
    // unchanged.
    static Result redact(const QString& text);
    // The same with the given rules instead of the program's own.
    static Result redact(const QString& text, const std::vector<SecretRule>& rules);
};

} // namespace lumeno
