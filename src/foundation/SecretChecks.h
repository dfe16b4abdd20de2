#pragma once

#include <QStringView>

namespace lumeno {

// Checks that tell a secret from ordinary text where a pattern alone cannot.
class SecretChecks {
public:
    // A value that reads like something a machine or a password rule made rather than a word of prose:
    // at least four characters with a digit, a symbol, or a capital letter among lower-case ones after the
    // first character ("hunter2", "p@ss", "SwordFish"; not "wrong", "well-known", "URGENT").
    static bool looksGenerated(QStringView value);
    // A payment card number: 13 to 19 digits (spaces and dashes between groups ignored) that pass the
    // Luhn check.
    static bool passesLuhn(QStringView number);
};

} // namespace lumeno
