#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace lumeno {

// The tray icon: at a glance, paused, in need of the user (sign-in or a permission) or ready, with the
// number of commitments due as a badge. A warning never carries a count; a paused icon still does.
struct MenuBarLabel {
    struct State {
        bool paused = false;
        bool needsAttention = false;
        int dueCount = 0;
        bool operator==(const State&) const = default;
    };

    // What the icon means; a warning is drawn as a badge on the reply arrow.
    static QString symbol(const State& state);
    // The tray's help text: the program's name before the status line, which alone does not say whose it is.
    static QString toolTip(const QString& statusLine);
    // The badge text, none when no count is shown.
    static QString badge(const State& state);
    static QImage image(const State& state, int side, qreal devicePixelRatio = 1.0);
    static QIcon icon(const State& state);
};

} // namespace lumeno
