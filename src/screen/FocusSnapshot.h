#pragma once

#include "platform/AccessibleElement.h"

#include <QString>

#include <optional>

namespace lumeno {

// The application in front and its focused element, as read at one moment.
struct FocusSnapshot {
    enum class Editability { editable, readOnly, unknown };

    qint64 pid = 0;
    std::optional<QString> bundleID; // the application id; none when the desktop doesn't say
    QString appName;
    std::optional<AccessibleElement> element;
    std::optional<QString> role;
    std::optional<QString> roleName; // the role as the desktop names it to its users, for showing
    std::optional<QString> subrole;
    Editability editability = Editability::unknown;
    std::optional<QString> windowTitle;
    std::optional<QString> webURL;   // the address of the web page the element sits in
    bool isChromium = false;         // the application is built on Chromium (browsers and web-based apps)
    bool hasKeyboardFocus = false;   // the element itself says it has keyboard focus
    std::optional<QString> selectedText;

    // "editable", "readOnly", "unknown": the form log lines use.
    static QString caseName(Editability editability);

    bool operator==(const FocusSnapshot&) const = default;
};

inline QString FocusSnapshot::caseName(Editability editability) {
    switch (editability) {
    case Editability::editable:
        return QStringLiteral("editable");
    case Editability::readOnly:
        return QStringLiteral("readOnly");
    case Editability::unknown:
        break;
    }
    return QStringLiteral("unknown");
}

} // namespace lumeno
