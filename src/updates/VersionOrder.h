#pragma once

#include <QString>

namespace lumeno {

// Orders version strings the way update feeds expect: runs of digits compare as numbers ("1.10" is newer
// than "1.9"), runs of letters as text, and a version that goes on with letters where the other ends is a
// pre-release of it ("1.0b2" comes before "1.0"), while one that goes on with digits is newer ("1.0.1").
namespace VersionOrder {

// Negative when `a` is older than `b`, zero when they name the same version, positive when newer.
int compare(const QString& a, const QString& b);
inline bool isNewer(const QString& candidate, const QString& installed) { return compare(candidate, installed) > 0; }

} // namespace VersionOrder

} // namespace lumeno
