#include "foundation/SecretRule.h"

#include "foundation/SecretRedactor.h"

namespace lumeno {

namespace {

TextRange secretSpan(const RegexMatch& match) {
    for (size_t group = 1; group < match.groups.size(); ++group)
        if (match.groups[group])
            return *match.groups[group];
    return match.range();
}

} // namespace

SecretRule SecretRule::fixed(const char* name, const QString& pattern,
                             std::function<bool(QStringView)> accepts) {
    return {QString::fromUtf8(name), Regex::fixed(pattern), std::move(accepts)};
}

std::optional<std::vector<TextRange>> SecretRule::find(const QString& text) const {
    const std::optional<std::vector<RegexMatch>> matches = pattern.completeMatches(text);
    if (!matches)
        return std::nullopt;
    std::vector<TextRange> spans;
    for (const RegexMatch& match : *matches) {
        const TextRange span = secretSpan(match);
        const QStringView secret = QStringView(text).sliced(span.start, span.length);
        // What an earlier pass replaced is not found again.
        if (!secret.isEmpty() && secret != SecretRedactor::marker() && (!accepts || accepts(secret)))
            spans.push_back(span);
    }
    return spans;
}

} // namespace lumeno
