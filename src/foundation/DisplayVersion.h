#pragma once

#include <QString>

namespace lumeno {

// How a release's version is shown to users: MAJOR.MINOR, and MAJOR.MINOR.PATCH when the patch is not zero,
// so that a patch release never reads as the release it mends. Versions are compared in full elsewhere.
namespace DisplayVersion {

// The shown form of `version`, given the form a bundle or a feed states (empty when it states none). A
// stated form is kept, except MAJOR.MINOR for a patch release (as builds and feeds once wrote it), which
// would read as the release it mends. A version not of the form MAJOR.MINOR.PATCH is shown as stated, else
// as it is.
QString of(const QString& version, const QString& stated = {});

} // namespace DisplayVersion

} // namespace lumeno
