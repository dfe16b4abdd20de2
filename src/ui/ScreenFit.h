#pragma once

#include <QSize>

class QWidget;

namespace lumeno {

class ScreenInfo;

// Keeping a window within the part of its screen that the desktop leaves to windows. A window's screen is
// the one under the middle of its frame, else the main screen.
namespace ScreenFit {

// The largest size the window's own area (without the window manager's frame) can take on its screen.
// Empty without screens.
QSize room(const QWidget& window, const ScreenInfo& screens);
// Moves the window, frame and all, by the least that brings it onto its screen's free area; its top left
// corner stays on screen when the window is larger than that area.
void keepOnScreen(QWidget& window, const ScreenInfo& screens);

// Puts two windows next to each other on the main screen's free area, `left` first, frames and all: the
// pair centred, their tops level. Where the area is too narrow for both, each keeps to its own edge and
// `right` covers as little of `left` as it must.
void placeSideBySide(QWidget& left, QWidget& right, const ScreenInfo& screens);

} // namespace ScreenFit

} // namespace lumeno
