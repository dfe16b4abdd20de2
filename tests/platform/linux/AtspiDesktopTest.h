#pragma once

#include "platform/linux/harness/AccessibilityBus.h"
#include "platform/linux/harness/AccessibleApp.h"
#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/AtspiAccessibility.h"
#include "platform/linux/LinuxWorkspace.h"
#include "platform/linux/X11FrontmostApplication.h"
#include "platform/linux/X11KeySynth.h"
#include "platform/linux/X11Pasteboard.h"
#include "screen/FieldInserter.h"
#include "screen/FocusInspector.h"
#include "screen/ScreenReader.h"
#include "support/QtScheduler.h"

#include <QCoroTask>
#include <QTemporaryDir>

#include <memory>

namespace lumeno::desktop {

// The program's way into a field on the test desktop: the frontmost application read from the X server,
// the real clipboard and synthetic keys, and the inserter on top of them.
class DesktopInserter {
public:
    explicit DesktopInserter(Accessibility& accessibility);

    QtScheduler scheduler;
    std::shared_ptr<X11FrontmostApplication> frontmost;
    LinuxWorkspace workspace;
    X11Pasteboard pasteboard;
    X11KeySynth keys;
    FocusInspector inspector;
    FieldInserter inserter;
};

// Base of the tests that read and write other applications over a real accessibility bus: the X desktop,
// the session and accessibility buses (AccessibilityBus), the port under test on that bus, and the
// program's own readers on top of it, with the frontmost application read from the X server as the
// program does. Each suite starts its target application once, in SetUpTestSuite.
class AtspiDesktopTest : public DesktopTest {
public:
    // Whether the desktop and the accessibility bus run; a suite starts nothing otherwise.
    static bool canRun();

protected:
    void SetUp() override;

    // The port on the test's accessibility bus, as the program would make it.
    static std::unique_ptr<AtspiAccessibility> connect();

    // The application's focused element once it is `role` (the focus settles after a window shows).
    static std::optional<AccessibleElement> waitForFocus(Accessibility& accessibility, qint64 pid,
                                                         const QString& role, int timeoutMs = patienceMs);
    // What the program sees of the frontmost application, read as it reads it.
    static std::optional<FocusSnapshot> snapshot(Accessibility& accessibility);
    // The same, once the window manager has made the window of `pid` the active one (it does so a moment
    // after the application gave its field the focus); none when it never does.
    static std::optional<FocusSnapshot> activeSnapshot(Accessibility& accessibility, qint64 pid);
    static std::optional<ScreenReader::Conversation> conversation(Accessibility& accessibility,
                                                                  const AccessibleElement& field);

    // Ctrl+A typed by the user until the field says all of its text is selected (a key the application was
    // not ready for is typed again, as the user would); whether it came to say so.
    static bool selectAllAsTheUser(Accessibility& accessibility, const AccessibleElement& field);

    // Saves what the screen shows now as <name>.png in the screenshot folder.
    static void saveScreen(const QString& name);

    // Runs the task in the event loop to its end, failing the test should it not end in time.
    template <class T>
    static T finish(QCoro::Task<T> task, int timeoutMs = patienceMs) {
        if (!waitUntil([&] { return task.isReady(); }, timeoutMs)) {
            ADD_FAILURE() << "the task did not finish in time";
            return T();
        }
        return QCoro::waitFor(task);
    }
};

// A suite that runs one application for all its tests (started by the suite's SetUpTestSuite): its
// profile folder, the application, the port, and the field the tests work in. A test skips when the
// application is not installed and fails when its field never showed on the bus.
template <class Suite>
class AtspiApplicationTest : public AtspiDesktopTest {
protected:
    static void TearDownTestSuite() {
        accessibility.reset();
        app.reset();
        profile.reset();
    }

    void SetUp() override {
        AtspiDesktopTest::SetUp();
        if (IsSkipped())
            return;
        if (!app)
            GTEST_SKIP() << Suite::applicationName() << " is not installed";
        ASSERT_TRUE(field) << Suite::applicationName() << " never showed its field on the accessibility bus"
                           << setupNote.toStdString();
    }

    static inline std::unique_ptr<QTemporaryDir> profile;
    static inline std::unique_ptr<AccessibleApp> app;
    static inline std::unique_ptr<AtspiAccessibility> accessibility;
    static inline std::optional<AccessibleElement> field;
    static inline QString setupNote; // how far the suite's start got, when it did not get its field
};

} // namespace lumeno::desktop
