#include "platform/linux/ToolkitTextModel.h"

#include <algorithm>

namespace lumeno {

namespace {

// How many units of `unit` the character starting at `index` takes, and how many UTF-16 units.
struct Step {
    qsizetype units = 1;
    qsizetype utf16 = 1;
};

Step stepAt(const QString& text, qsizetype index, ToolkitTextModel::Unit unit) {
    const bool pair = index + 1 < text.size() && text.at(index).isHighSurrogate() && text.at(index + 1).isLowSurrogate();
    const char32_t codePoint = pair ? QChar::surrogateToUcs4(text.at(index), text.at(index + 1)) : text.at(index).unicode();
    const qsizetype utf16 = pair ? 2 : 1;
    switch (unit) {
    case ToolkitTextModel::Unit::utf16:
        return {utf16, utf16};
    case ToolkitTextModel::Unit::codePoint:
        return {1, utf16};
    case ToolkitTextModel::Unit::utf8Byte:
        break;
    }
    const qsizetype bytes = codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
    return {bytes, utf16};
}

} // namespace

ToolkitTextModel ToolkitTextModel::forToolkit(const QString& toolkitName) {
    if (toolkitName.compare(QLatin1String("Qt"), Qt::CaseInsensitive) == 0)
        return {Unit::utf16, Unit::utf16, false, false};
    if (toolkitName.compare(QLatin1String("gtk"), Qt::CaseInsensitive) == 0)
        return {Unit::codePoint, Unit::utf8Byte, false, false};
    if (toolkitName.compare(QLatin1String("Chromium"), Qt::CaseInsensitive) == 0)
        return {Unit::codePoint, Unit::codePoint, true, false};
    if (toolkitName.compare(QLatin1String("Gecko"), Qt::CaseInsensitive) == 0)
        return {Unit::codePoint, Unit::codePoint, false, true};
    return {};
}

bool ToolkitTextModel::reportsSelectionTruly(const QString& text, qsizetype start, qsizetype end) const {
    if (!selectionSkewedByAstral)
        return true;
    // A skewed end lands at most on the character that caused the skew: that one is looked at too.
    const qsizetype checked = toUtf16(text, end + 1, offsets);
    return start < end && std::none_of(text.begin(), text.begin() + checked, [](QChar c) { return c.isHighSurrogate(); });
}

qsizetype ToolkitTextModel::toUtf16(const QString& text, qsizetype offset, Unit unit) {
    if (unit == Unit::utf16)
        return std::clamp<qsizetype>(offset, 0, text.size());
    qsizetype index = 0;
    qsizetype counted = 0;
    while (index < text.size()) {
        const Step step = stepAt(text, index, unit);
        if (counted + step.units > offset)
            break;
        counted += step.units;
        index += step.utf16;
    }
    return index;
}

qsizetype ToolkitTextModel::fromUtf16(const QString& text, qsizetype utf16, Unit unit) {
    const qsizetype end = std::clamp<qsizetype>(utf16, 0, text.size());
    qsizetype index = 0;
    qsizetype counted = 0;
    while (index < end) {
        const Step step = stepAt(text, index, unit);
        if (index + step.utf16 > end)
            break; // inside a surrogate pair: the position before it
        counted += step.units;
        index += step.utf16;
    }
    return counted;
}

} // namespace lumeno
