#include "platform/linux/QtScreenInfo.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace lumeno {

namespace {

ScreenInfo::Screen describe(const QScreen& screen) {
    return {screen.geometry(), screen.availableGeometry()};
}

} // namespace

std::vector<ScreenInfo::Screen> QtScreenInfo::screens() const {
    std::vector<Screen> result;
    for (const QScreen* screen : QGuiApplication::screens())
        result.push_back(describe(*screen));
    return result;
}

std::optional<ScreenInfo::Screen> QtScreenInfo::mainScreen() const {
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        return describe(*primary);
    return std::nullopt;
}

QPoint QtScreenInfo::pointer() const {
    return QCursor::pos();
}

} // namespace lumeno
