#pragma once

#include "overlay/OverlayModel.h"
#include "platform/fake/FakePanelWindowHints.h"
#include "platform/fake/FakeScreenInfo.h"
#include "support/ManualScheduler.h"
#include "ui/FrameTicker.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace lumeno::testing {

// Manual time and a scripted desktop for overlay tests.
class OverlayTest : public ::testing::Test {
protected:
    ManualClock clock;
    ManualScheduler scheduler{clock};
    AnimationClock animation{scheduler, clock};
    FakeScreenInfo screens;
    FakePanelWindowHints hints;

    // Lets Qt finish layouts and deferred deletions, as the event loop would before the next paint.
    static void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::sendPostedEvents();
    }
};

// The child named `name` that the user can see in `root` (hidden ones do not count); null when none.
template <typename T = QWidget>
T* shown(QWidget& root, const QString& name) {
    for (T* child : root.findChildren<T*>(name))
        if (child->isVisibleTo(&root))
            return child;
    return nullptr;
}

template <typename T = QWidget>
QList<T*> allShown(QWidget& root, const QString& name) {
    QList<T*> result;
    for (T* child : root.findChildren<T*>(name))
        if (child->isVisibleTo(&root))
            result << child;
    return result;
}

// The top-level window with this object name.
inline QWidget* window(const QString& name) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name)
            return widget;
    return nullptr;
}

} // namespace lumeno::testing
