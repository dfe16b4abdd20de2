#pragma once

#include "support/Regex.h"

#include <QStringView>
#include <functional>
#include <vector>

namespace lumeno {

// One kind of secret the redactor recognises: a pattern and, for secrets a pattern alone cannot tell apart
// from ordinary text, a check of the candidate. The secret is the first capture group that took part in
// the match (so a label and its separator stay outside it), or the whole match when no group did.
struct SecretRule {
    QString name;
    Regex pattern;
    // Accepts the secret's text; no check when empty.
    std::function<bool(QStringView)> accepts;

    // A rule the program ships with: aborts when the pattern does not compile.
    static SecretRule fixed(const char* name, const QString& pattern,
                            std::function<bool(QStringView)> accepts = {});

    // The spans of `text` this rule would replace, in order; none when the search ran out of time, so the
    // text could not be checked.
    std::optional<std::vector<TextRange>> find(const QString& text) const;
};

} // namespace lumeno
