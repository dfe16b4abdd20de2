#include "foundation/SecretChecks.h"

namespace lumeno {

bool SecretChecks::looksGenerated(QStringView value) {
    if (value.size() < 4)
        return false;
    bool hasLower = false;
    bool hasLaterUpper = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c.isDigit())
            return true;
        // Hyphens and apostrophes join ordinary words; other symbols do not.
        if (!c.isLetter() && c != u'-' && c != u'\'' && c != u'’')
            return true;
        hasLower = hasLower || c.isLower();
        hasLaterUpper = hasLaterUpper || (i > 0 && c.isUpper());
    }
    return hasLower && hasLaterUpper;
}

bool SecretChecks::passesLuhn(QStringView number) {
    int sum = 0;
    int digits = 0;
    for (qsizetype i = number.size() - 1; i >= 0; --i) {
        const QChar c = number[i];
        if (c == u' ' || c == u'-')
            continue;
        if (c < u'0' || c > u'9')
            return false;
        int digit = c.unicode() - u'0';
        if (digits % 2 == 1) {
            digit *= 2;
            if (digit > 9)
                digit -= 9;
        }
        sum += digit;
        ++digits;
    }
    return digits >= 13 && digits <= 19 && sum % 10 == 0;
}

} // namespace lumeno
