#pragma once

#include <QString>
#include <QtGlobal>

namespace lumeno {

// A handle on one element of another application's accessibility tree. It names the element; the
// Accessibility port answers questions about it. On the desktop bus the id is "<bus name>:<object path>".
struct AccessibleElement {
    qint64 pid = 0;
    QString id;
    bool operator==(const AccessibleElement&) const = default;
};

} // namespace lumeno
