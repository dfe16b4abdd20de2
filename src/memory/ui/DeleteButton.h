#pragma once

#include "ui/SymbolButton.h"

namespace lumeno {

// A row's trash button: it acts on the first click, with no question and no undo. `help` is both the
// tool tip and what a screen reader says.
class DeleteButton : public SymbolButton {
    Q_OBJECT
public:
    explicit DeleteButton(const QString& help, QWidget* parent = nullptr);
};

} // namespace lumeno
