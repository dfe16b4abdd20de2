#include "updates/VersionOrder.h"

#include <vector>

namespace lumeno {

namespace {

struct Part {
    bool isNumber = false;
    QString text;
};

// Digits and letters split into runs; dots, dashes and other separators only end a run.
std::vector<Part> partsOf(const QString& version) {
    std::vector<Part> parts;
    for (const QChar c : version) {
        const bool digit = c.isDigit();
        if (!digit && !c.isLetter()) {
            parts.push_back({});
            continue;
        }
        if (parts.empty() || parts.back().text.isEmpty() || parts.back().isNumber != digit)
            parts.push_back({digit, {}});
        parts.back().text += c;
    }
    std::erase_if(parts, [](const Part& part) { return part.text.isEmpty(); });
    return parts;
}

int compareNumbers(QString a, QString b) {
    while (a.size() > 1 && a.front() == u'0')
        a.remove(0, 1);
    while (b.size() > 1 && b.front() == u'0')
        b.remove(0, 1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int sign(int value) {
    return (value > 0) - (value < 0);
}

// What one more part means when the other version has ended: digits make a later release, letters a
// pre-release of the shorter one.
int extraPart(const Part& part) {
    return part.isNumber ? 1 : -1;
}

} // namespace

int VersionOrder::compare(const QString& a, const QString& b) {
    const std::vector<Part> left = partsOf(a);
    const std::vector<Part> right = partsOf(b);
    const size_t common = std::min(left.size(), right.size());
    for (size_t i = 0; i < common; ++i) {
        const Part& l = left[i];
        const Part& r = right[i];
        if (l.isNumber != r.isNumber)
            return l.isNumber ? 1 : -1; // "1.0.1" is after "1.0b1"
        const int order = l.isNumber ? compareNumbers(l.text, r.text)
                                     : l.text.compare(r.text, Qt::CaseInsensitive);
        if (order != 0)
            return sign(order);
    }
    if (left.size() > common)
        return extraPart(left[common]);
    if (right.size() > common)
        return -extraPart(right[common]);
    return 0;
}

} // namespace lumeno
