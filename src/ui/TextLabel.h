#pragma once

#include "ui/Hierarchy.h"
#include "ui/TypeScale.h"

#include <QLabel>

namespace lumeno {

// A label for text that may come from anyone (the server, the user): always plain text, never markup,
// drawn at a level of the hierarchy.
class TextLabel : public QLabel {
    Q_OBJECT
public:
    explicit TextLabel(const QString& text, QWidget* parent, Hierarchy level = Hierarchy::primary,
                       const QFont& font = TypeScale::font(13));
};

} // namespace lumeno
