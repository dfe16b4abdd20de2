#pragma once

class QWidget;

namespace lumeno {

// The guide, setup and settings windows have a fixed size and are put away, not minimised: a title bar with
// only a close button. Window managers that ignore the button hints still read the fixed size (Qt gives the
// window the same minimum and maximum size), and then offer neither resizing nor maximising.
void makeFixedWindow(QWidget& window);

} // namespace lumeno
