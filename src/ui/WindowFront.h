#pragma once

class QWidget;

namespace lumeno {

// Shows a window and brings it to the front with the keyboard: back from minimized if it was, while a
// maximized window stays maximized.
void bringToFront(QWidget& window);

} // namespace lumeno
