#include "foundation/SecretRedactor.h"

#include "foundation/LabelledSecrets.h"
#include "foundation/ProviderTokens.h"
#include "foundation/StructuredSecrets.h"

#include <algorithm>
#include <iterator>

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

// Where the text already holds the marker, in order.
std::vector<TextRange> markersIn(const QString& text) {
    std::vector<TextRange> markers;
    const QString marker = SecretRedactor::marker();
    for (qsizetype at = text.indexOf(marker); at >= 0; at = text.indexOf(marker, at + marker.size()))
        markers.push_back({at, marker.size()});
    return markers;
}

bool overlapsAny(const TextRange& span, const std::vector<TextRange>& sortedRanges) {
    const auto after = std::lower_bound(sortedRanges.begin(), sortedRanges.end(), span.end(),
                                        [](const TextRange& range, qsizetype end) { return range.start < end; });
    return after != sortedRanges.begin() && std::prev(after)->end() > span.start;
}

// The secrets in the text, in order and apart; none when a rule's search ran out of time.
std::optional<std::vector<TextRange>> secretsIn(const QString& text, const std::vector<SecretRule>& rules) {
    // A span that takes in a secret replaced before is the rule reading the marker as part of a value
    // ("token:[redacted]:[redacted]@1" as one token): what lay around that secret was checked when it was
    // replaced.
    const std::vector<TextRange> markers = markersIn(text);
    std::vector<TextRange> spans;
    for (const SecretRule& rule : rules) {
        const std::optional<std::vector<TextRange>> found = rule.find(text);
        if (!found)
            return std::nullopt;
        std::copy_if(found->begin(), found->end(), std::back_inserter(spans),
                     [&](const TextRange& span) { return !overlapsAny(span, markers); });
    }
    return merged(std::move(spans));
}

QString replaced(const QString& text, const std::vector<TextRange>& secrets) {
    QString redacted;
    redacted.reserve(text.size());
    qsizetype copied = 0;
    for (const TextRange& secret : secrets) {
        redacted += QStringView(text).sliced(copied, secret.start - copied);
        redacted += SecretRedactor::marker();
        copied = secret.end();
    }
    redacted += QStringView(text).sliced(copied);
    return redacted;
}

} // namespace

SecretRedactor::Result SecretRedactor::redact(const QString& text) {
    return redact(text, allRules());
}

SecretRedactor::Result SecretRedactor::redact(const QString& text, const std::vector<SecretRule>& rules) {
    // Replacing a secret can change how what is around it reads ("u://token=/&b=:p@k": with the token's "/"
    // gone, ":p@" reads as a password in an address), so the text is searched again until nothing more is
    // found: a redacted text comes back as it is.
    Result result{text, 0};
    for (int round = 0; round < maxRounds; ++round) {
        const std::optional<std::vector<TextRange>> secrets = secretsIn(result.text, rules);
        if (!secrets)
            break;
        if (secrets->empty())
            return result;
        result = {replaced(result.text, *secrets), result.count + int(secrets->size())};
    }
    return {marker(), 1};
}

} // namespace lumeno
