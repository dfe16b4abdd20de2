#include "screen/ConversationStats.h"

namespace lumeno {

const Regex& ConversationStats::time() {
    static const Regex pattern = Regex::fixed(
        QStringLiteral(R"((?<![\d:.])(?:[01]?\d|2[0-3])[:.][0-5]\d(?![\d:.])(?:\s?[AaPp]\.?[Mm]\.?)?)"));
    return pattern;
}

const Regex& ConversationStats::date() {
    static const Regex pattern = Regex::fixed(QStringLiteral(
        R"((?i)\b(?:jan|feb|mar|apr|may|maj|jun|jul|aug|avg|sep|sept|oct|okt|nov|dec)[a-z]*\.?\s+\d{1,2}\b|\b\d{1,2}\.?\s+(?:jan|feb|mar|apr|may|maj|jun|jul|aug|avg|sep|sept|oct|okt|nov|dec)[a-z]*\b|\b\d{1,2}[./]\d{1,2}[./]\d{2,4}\b)"));
    return pattern;
}

const Regex& ConversationStats::relative() {
    static const Regex pattern = Regex::fixed(QStringLiteral(
        R"((?i)\b\d+\s+(?:minutes?|mins?|hours?|hrs?|days?|weeks?|min|ur|uri|dni|dan)\s+(?:ago|nazaj)\b|\b(?:yesterday|včeraj|pred\s+\d+\s+\w+)\b)"));
    return pattern;
}

bool ConversationStats::isTimestampLine(const QString& line) {
    return time().matchesAnywhere(line) || date().matchesAnywhere(line) || relative().matchesAnywhere(line);
}

} // namespace lumeno
