#include "memory/ui/DeleteButton.h"

namespace lumeno {

DeleteButton::DeleteButton(const QString& help, QWidget* parent)
    : SymbolButton({.symbol = QStringLiteral("trash"),
                    .fontSize = 13,
                    .ink = Ink::of(Hierarchy::secondary),
                    .side = 22,
                    .circleFill = std::nullopt},
                   parent) {
    setObjectName(QStringLiteral("deleteButton"));
    setToolTip(help);
    setAccessibleName(help);
    setCursor(Qt::PointingHandCursor);
}

} // namespace lumeno
