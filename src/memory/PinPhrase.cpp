#include "memory/PinPhrase.h"

#include "support/Regex.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <vector>

namespace lumeno {

namespace {

// In characters (code points), as `.{3,200}` counts them.
constexpr int shortestPin = 3;
constexpr int longestPin = 200;

// The pattern's \s: ICU's White_Space, all of it in the Basic Multilingual Plane.
bool isSpace(QChar c) {
    return u_isUWhiteSpace(c.unicode());
}

// What `.` does not match.
bool breaksLine(QChar c) {
    const char16_t unit = c.unicode();
    return (unit >= 0x0a && unit <= 0x0d) || unit == 0x85 || unit == 0x2028 || unit == 0x2029;
}

class Scan {
public:
    explicit Scan(const QString& text) : text_(text), spaceEnd_(text.size() + 1) {
        spaceEnd_[size()] = size();
        for (qsizetype at = size() - 1; at >= 0; --at)
            spaceEnd_[at] = isSpace(text_[at]) ? spaceEnd_[at + 1] : at;
    }

    qsizetype size() const { return text_.size(); }
    // The first position from `at` that holds no white space.
    qsizetype spaceEnd(qsizetype at) const { return spaceEnd_[at]; }

    // Whether `\s*(?:[.!?](?:\s|$)|$)` matches at `at`. Only the whole run of white space from there needs
    // trying: stopping short of its end leaves a space next, which is no stop. `$` also matches before a
    // line break that ends the text, but line breaks are white space and walked over to the end anyway.
    bool closesAt(qsizetype at) const {
        const qsizetype next = spaceEnd(at);
        if (next == size())
            return true;
        const QChar stop = text_[next];
        return (stop == u'.' || stop == u'!' || stop == u'?') && (next + 1 == size() || isSpace(text_[next + 1]));
    }
    // Where that close ends: after the white space, the stop and the one space the stop takes with it.
    qsizetype closeEnd(qsizetype at) const {
        const qsizetype next = spaceEnd(at);
        return next == size() ? next : std::min(next + 2, size());
    }

    // The end of the shortest pin from `start` that the pattern takes: 3 to 200 characters of one line
    // followed by a close.
    std::optional<qsizetype> pinEnd(qsizetype start) const {
        qsizetype at = start;
        for (int taken = 1; taken <= longestPin && at < size() && !breaksLine(text_[at]); ++taken) {
            at += text_[at].isHighSurrogate() && at + 1 < size() && text_[at + 1].isLowSurrogate() ? 2 : 1;
            if (taken >= shortestPin && closesAt(at))
                return at;
        }
        return std::nullopt;
    }

private:
    const QString& text_;
    std::vector<qsizetype> spaceEnd_;
};

} // namespace

std::optional<PinPhrase::Found> PinPhrase::find(const QString& text) {
    // The opening and its punctuation; the white space after it is walked below.
    static const Regex opening =
        Regex::fixed(QStringLiteral(R"re((?i)(?:note to self|pin (?:that|this))[:,]?+(?=\s))re"));
    const Scan scan(text);
    for (const RegexMatch& match : opening.allMatches(text)) {
        const qsizetype spacesStart = match.range().end();
        const qsizetype spacesEnd = scan.spaceEnd(spacesStart);
        // The pin starts after all the white space, or, when no pin fits there, after less of it: `\s+`
        // gives back one space at a time, and the pin then starts with spaces.
        for (qsizetype givenBack = 0; givenBack < spacesEnd - spacesStart; ++givenBack) {
            // A pin that starts more than its longest length back ends within the spaces, so it closes
            // where the spaces close, or never.
            if (givenBack > longestPin && !scan.closesAt(spacesEnd))
                break;
            const qsizetype start = spacesEnd - givenBack;
            if (const std::optional<qsizetype> end = scan.pinEnd(start)) {
                const qsizetype phraseStart = match.range().start;
                return Found{{phraseStart, scan.closeEnd(*end) - phraseStart}, {start, *end - start}};
            }
        }
    }
    return std::nullopt;
}

} // namespace lumeno
