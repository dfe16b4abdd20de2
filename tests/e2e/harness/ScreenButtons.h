#pragma once

#include <QRect>
#include <QString>

#include <optional>

namespace lumeno::e2e {

// Where the user sees a control of another process: found by its accessible name on the accessibility
// bus (a button's text, a field's label), in screen coordinates, so a test can click it as the user would.
// Needs the accessibility bus, and the process to have joined it (Qt does when accessibility is on as it
// starts).
class ScreenButtons {
public:
    // The first showing element of process `pid` named `name`; none when there is none (yet).
    static std::optional<QRect> find(qint64 pid, const QString& name);

    // The same element's box within its window, and that window's title. A toolkit's idea of where its
    // window is can lag behind where the window manager put it (Qt's, for a window shown again while it
    // changes size), so a click goes by the window's place on the X server and this box.
    struct InWindow {
        QRect box;
        QString windowTitle;
        QSize windowSize; // as the toolkit has laid it out, which the X server may not have applied yet
    };
    static std::optional<InWindow> findInWindow(qint64 pid, const QString& name);
};

} // namespace lumeno::e2e
