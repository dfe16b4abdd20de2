#pragma once

#include "foundation/KeyboardLayout.h"
#include "foundation/PermissionsGate.h"
#include "foundation/SettingsStore.h"
#include "platform/fake/FakeAccessibilityTrust.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeKeyboardLayoutSource.h"
#include "platform/fake/FakeMicrophoneAuthorizer.h"
#include "platform/fake/FakeSecretStore.h"
#include "platform/fake/FakeWorkspace.h"
#include "support/ManualScheduler.h"
#include "testsupport/QtPrinters.h"
#include "testsupport/Screenshots.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

namespace lumeno {

// The settings and permissions of a desktop the test controls, on manual time.
struct ShellServices {
    FakeDefaultsStore defaults;
    FakeSecretStore secrets;
    SettingsStore settings{defaults, secrets};
    FakeMicrophoneAuthorizer microphone;
    FakeAccessibilityTrust trust;
    FakeWorkspace workspace;
    ManualClock clock;
    ManualScheduler scheduler{clock};
    PermissionsGate permissions{defaults, microphone, trust, workspace, scheduler};
    FakeKeyboardLayoutSource layoutSource;
    KeyboardLayout keyboardLayout{layoutSource};
};

class ShellFixture : public ::testing::Test, protected ShellServices {};

// A child by object name; fails the test when it is missing.
template <typename T = QWidget> T* child(const QObject& parent, const QString& name) {
    T* found = parent.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no child named " << name.toStdString();
    return found;
}

// Saves a picture of `widget` as the user would see it now: pending layout changes are applied first.
inline void shoot(QWidget& widget, const QString& name) {
    QCoreApplication::sendPostedEvents();
    screenshots::save(screenshots::onDesktop(widget), name);
}

// Whether a widget would be seen in its window (its own and its parents' visibility).
inline bool isShown(const QWidget* widget) {
    return widget && widget->isVisibleTo(widget->window());
}

} // namespace lumeno
