#pragma once

#include "support/TextRange.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace lumeno {

struct RegexMatch {
    // Index 0 is the whole match; a group that did not take part in the match is absent.
    std::vector<std::optional<TextRange>> groups;

    TextRange range() const { return *groups.front(); }
    std::optional<TextRange> group(int index) const;
    // The captured text of a group in `text` (the searched string); empty when the group is absent.
    QString captured(const QString& text, int index = 0) const;
};

// ICU regular expressions (flags 0: every option is written inline in the pattern), positions in UTF-16
// units of the searched QString. Thread-safe for concurrent searches.
//
// The program's patterns run in linear time. As a safety net every search gets a budget of matching steps
// in proportion to its text (ICU's time limit): a search that runs out of it ends as if nothing more
// matched, and says so in the log. Callers that must not take "ran out of time" for "found nothing" ask
// `completeMatches`.
class Regex {
public:
    // A pattern the program ships with: aborts when it does not compile. Keep the result in a
    // function-local static so it is compiled once, on first use.
    static Regex fixed(const QString& pattern);
    // A pattern built at run time: none when it does not compile (the reason in `error` when given).
    static std::optional<Regex> compile(const QString& pattern, QString* error = nullptr);

    std::optional<RegexMatch> firstMatch(const QString& text) const;
    // Searches only within `range` of `text` (anchors and look-around see the bounds of the range).
    std::optional<RegexMatch> firstMatch(const QString& text, TextRange range) const;
    // All non-overlapping matches, in order.
    std::vector<RegexMatch> allMatches(const QString& text) const;
    // All non-overlapping matches, or none when the search ran out of its budget before the end of the text.
    std::optional<std::vector<RegexMatch>> completeMatches(const QString& text) const;
    bool matchesAnywhere(const QString& text) const { return firstMatch(text).has_value(); }
    // Replaces every match; the template uses ICU's $1 / ${name} references and \$ for a dollar sign.
    // A template naming a group the pattern does not have, or a search out of budget, leaves the text
    // unchanged.
    QString replaceAll(const QString& text, const QString& replacementTemplate) const;
    // Number of non-overlapping matches.
    int count(const QString& text) const { return int(allMatches(text).size()); }

    const QString& pattern() const { return pattern_; }

private:
    struct Compiled;
    Regex(QString pattern, std::shared_ptr<const Compiled> compiled);

    QString pattern_;
    std::shared_ptr<const Compiled> compiled_;
};

} // namespace lumeno
