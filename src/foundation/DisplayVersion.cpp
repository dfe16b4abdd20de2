#include "foundation/DisplayVersion.h"

#include <QStringList>

#include <algorithm>

namespace lumeno {

namespace {

bool isNumber(const QString& part) {
    return !part.isEmpty() && std::all_of(part.begin(), part.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

QString DisplayVersion::of(const QString& version, const QString& stated) {
    const QStringList parts = version.split(u'.');
    if (parts.size() != 3 || !std::all_of(parts.begin(), parts.end(), isNumber))
        return stated.isEmpty() ? version : stated;
    const QString majorMinor = parts[0] + u'.' + parts[1];
    const bool patched = parts[2].toULongLong() != 0;
    const QString shown = patched ? version : majorMinor;
    if (stated.isEmpty() || (patched && stated == majorMinor))
        return shown;
    return stated;
}

} // namespace lumeno
