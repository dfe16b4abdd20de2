#include "foundation/SecretRedactor.h"

#include "foundation/LabelledSecrets.h"
#include "foundation/ProviderTokens.h"
#include "foundation/StructuredSecrets.h"

#include <algorithm>

namespace lumeno {

namespace {

const std::vector<SecretRule>& allRules() {
    static const std::vector<SecretRule> rules = [] {
        std::vector<SecretRule> all = ProviderTokens::rules();
        for (auto&& more : {StructuredSecrets::rules(), LabelledSecrets::rules()})
            all.insert(all.end(), more.begin(), more.end());
        return all;
    }();
    return rules;
}

// Spans found by different rules may overlap (a key behind a label, a JWT after "Bearer"): overlapping
// spans become one, so a secret is replaced once and no piece of it is left behind.
std::vector<TextRange> merged(std::vector<TextRange> spans) {
    std::sort(spans.begin(), spans.end(),
              [](const TextRange& a, const TextRange& b) { return a.start < b.start; });
    std::vector<TextRange> result;
    for (const TextRange& span : spans) {
        if (!result.empty() && span.start < result.back().end())
            result.back().length = std::max(result.back().end(), span.end()) - result.back().start;
        else
            result.push_back(span);
    }
    return result;
}

} // namespace

SecretRedactor::Result SecretRedactor::redact(const QString& text) {
    return redact(text, allRules());
}

SecretRedactor::Result SecretRedactor::redact(const QString& text, const std::vector<SecretRule>& rules) {
    std::vector<TextRange> spans;
    for (const SecretRule& rule : rules) {
        const std::optional<std::vector<TextRange>> found = rule.find(text);
        if (!found)
            return {marker(), 1};
        spans.insert(spans.end(), found->begin(), found->end());
    }
    if (spans.empty())
        return {text, 0};

    const std::vector<TextRange> secrets = merged(std::move(spans));
    QString redacted;
    redacted.reserve(text.size());
    qsizetype copied = 0;
    for (const TextRange& secret : secrets) {
        redacted += QStringView(text).sliced(copied, secret.start - copied);
        redacted += marker();
        copied = secret.end();
    }
    redacted += QStringView(text).sliced(copied);
    return {redacted, int(secrets.size())};
}

} // namespace lumeno
