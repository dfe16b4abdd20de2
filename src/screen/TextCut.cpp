#include "screen/TextCut.h"

#include <algorithm>

namespace lumeno {

namespace {

// How far a cut may move to reach a line break.
constexpr qsizetype snapDistance = 200;

// A cut that starts a kept part: moved forward to just after a line break when one is near.
qsizetype snapStart(const QString& text, qsizetype start) {
    if (start <= 0)
        return 0;
    const qsizetype lineBreak = text.indexOf(QLatin1Char('\n'), start - 1);
    if (lineBreak >= 0 && lineBreak + 1 - start <= snapDistance)
        start = lineBreak + 1;
    if (start < text.size() && text.at(start).isLowSurrogate())
        ++start;
    return start;
}

// A cut that ends a kept part: moved back to a line break when one is near.
qsizetype snapEnd(const QString& text, qsizetype end) {
    if (end >= text.size())
        return text.size();
    const qsizetype lineBreak = text.lastIndexOf(QLatin1Char('\n'), end);
    if (lineBreak >= 0 && end - lineBreak <= snapDistance)
        end = lineBreak;
    if (end > 0 && text.at(end).isLowSurrogate())
        --end;
    return end;
}

} // namespace

QString TextCut::withoutMiddle(const QString& text, qsizetype limit) {
    if (text.size() <= limit)
        return text;
    const qsizetype room = std::max<qsizetype>(0, limit - gapMarker().size());
    const qsizetype headEnd = snapEnd(text, room / 2);
    const qsizetype tailStart = snapStart(text, text.size() - (room - room / 2));
    return text.left(headEnd) + gapMarker() + text.mid(tailStart);
}

QString TextCut::around(const QString& text, qsizetype anchor, qsizetype limit) {
    const TextRange kept = keptAround(text, anchor, limit);
    return text.mid(kept.start, kept.length);
}

TextRange TextCut::keptAround(const QString& text, qsizetype anchor, qsizetype limit) {
    if (text.size() <= limit)
        return {0, text.size()};
    anchor = std::clamp<qsizetype>(anchor, 0, text.size());
    qsizetype start = std::max<qsizetype>(0, anchor - limit * 4 / 5);
    const qsizetype end = std::min(text.size(), start + limit);
    start = std::max<qsizetype>(0, end - limit);
    const qsizetype keptStart = snapStart(text, start);
    const qsizetype keptEnd = std::max(keptStart, snapEnd(text, end));
    return {keptStart, keptEnd - keptStart};
}

} // namespace lumeno
