#pragma once

#include <QString>

namespace lumeno {

// A user's text as the title of a menu item or button: shown as written, an ampersand is not a mnemonic.
inline QString menuText(QString text) {
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace lumeno
