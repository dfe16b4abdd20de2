#pragma once

#include "foundation/Surface.h"

#include <QSet>
#include <QString>
#include <optional>

namespace lumeno {

// Works out what kind of message a focused field writes: from its application, else from the web page's
// host, else from cues in the window title ("Inbox", "Re:", "Slack"...).
class SurfaceClassifier {
public:
    static Surface classify(const std::optional<QString>& bundleID, const std::optional<QString>& windowTitle,
                            const std::optional<QString>& url);
    // Lower-case application ids of web browsers (see KnownApps::normalizedID for their form).
    static const QSet<QString>& browsers();
    // Whether an application id, in any of the forms the desktop reports, names a web browser.
    static bool isBrowser(const QString& bundleID);
};

} // namespace lumeno
