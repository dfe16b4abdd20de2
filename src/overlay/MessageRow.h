#pragma once

#include "overlay/OverlayMessage.h"

#include <QWidget>

namespace lumeno {

class OverlayModel;

// An error or a notice: its icon, title and detail, the button for its action, and the close button.
class MessageRow : public QWidget {
    Q_OBJECT
public:
    MessageRow(const OverlayMessage& message, OverlayModel& model, QWidget* parent = nullptr);
};

} // namespace lumeno
