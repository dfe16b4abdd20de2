#pragma once

#include "ui/Ink.h"

#include <QIcon>
#include <QString>

class QWidget;

namespace lumeno {

// A named symbol as an icon for Qt's own buttons and menus, tinted against `widget`'s palette.
QIcon symbolIcon(const QString& name, int side, const Ink& ink, const QWidget& widget);

} // namespace lumeno
