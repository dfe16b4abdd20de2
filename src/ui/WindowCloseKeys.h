#pragma once

class QWidget;

namespace lumeno {

// Ctrl+W and Escape close `window` (it is only hidden, and shows the same next time), as Linux users expect
// of a window that holds no document. A key that a control inside uses itself (Escape ending an edit in a
// list, a recorded hot key) stays with that control.
void closeOnStandardKeys(QWidget& window);

} // namespace lumeno
