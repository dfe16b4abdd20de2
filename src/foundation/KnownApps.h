#pragma once

#include "foundation/Surface.h"

#include <QSet>
#include <QString>
#include <optional>

namespace lumeno {

// The Linux mail, chat and browser applications, by the identifiers the desktop reports for them: the
// .desktop id (native packages and Flatpak) and the X11 window class, lower-cased.
class KnownApps {
public:
    // The form the tables use: lower case, no ".desktop", and a Snap's "name_app" reduced to "app".
    static QString normalizedID(const QString& appID);
    // The application a variant of it stands for: Mozilla's applications name their windows after the
    // profile or channel they run ("thunderbird-default", "firefox-nightly"), others add their channel
    // ("google-chrome-stable", "brave-browser-beta"). The id itself for anything else.
    static QString baseID(const QString& normalizedID);
    // Whether `ids` (in the tables' form) holds the application `appID` as the desktop reports it.
    static bool isListed(const QSet<QString>& ids, const QString& appID);

    // Email or chat for a known mail or chat application; none for anything else (browsers included).
    static std::optional<Surface> surface(const QString& appID);
    static const QSet<QString>& browsers();
};

} // namespace lumeno
