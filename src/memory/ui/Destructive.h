#pragma once

#include <QAbstractButton>
#include <QPalette>

namespace lumeno {

// Red text for a button that removes something; a disabled one keeps the palette's disabled look.
inline void markDestructive(QAbstractButton& button) {
    QPalette warning = button.palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        warning.setColor(group, QPalette::ButtonText, QColor(0xd7, 0x2c, 0x20));
    button.setPalette(warning);
}

} // namespace lumeno
