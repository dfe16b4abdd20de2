// The application object: quits held by a permission prompt, and exceptions escaping event handlers.
#include "LoopHarness.h"

#include "app/AppModel.h"
#include "app/LumenoApplication.h"

#include <QTimer>

#include <stdexcept>

namespace lumeno {
namespace {

LumenoApplication& application() {
    return *static_cast<LumenoApplication*>(QCoreApplication::instance());
}

class LumenoApplicationTest : public testing::LoopHarness {
protected:
    AppServices& services = *app;
    std::unique_ptr<AppModel> model = std::make_unique<AppModel>(std::move(app));
    int preparedQuits = 0;

    LumenoApplicationTest() {
        application().holdsQuit = [this] { return model->holdsQuit(); };
        application().prepareToQuit = [this] {
            ++preparedQuits;
            model->prepareToQuit();
        };
    }
    ~LumenoApplicationTest() override {
        application().holdsQuit = [] { return false; };
        application().prepareToQuit = [] {};
    }

    // A quit request as the menu's Quit or the desktop session makes it; true when it was let through.
    static bool askToQuitOutsideTheLoop() {
        QEvent quit(QEvent::Quit);
        QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
        return quit.isAccepted();
    }
    // Runs the real event loop with a quit waiting in it; the exit code, or -2 when the quit did not end
    // it (a guard ends the loop instead of hanging the test).
    static int runLoopAndQuit() {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(-2); });
        guard.start(10000);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
        return QCoreApplication::exec();
    }
};

TEST_F(LumenoApplicationTest, AQuitDuringAPermissionPromptIsIgnoredAndTheNextOneAfterItEndsQuitsOnce) {
    model->beginPermissionPrompt();
    clock.advance(30);
    EXPECT_FALSE(askToQuitOutsideTheLoop());
    model->endPermissionPrompt();
    clock.advance(2);
    EXPECT_FALSE(askToQuitOutsideTheLoop()); // still inside the 3 s after the prompt closed
    EXPECT_EQ(log->lines().count(QStringLiteral("Ignored a quit during a permission prompt")), 2);
    EXPECT_EQ(preparedQuits, 0);
    EXPECT_FALSE(model->didPrepareToQuit());

    clock.advance(1.5); // the hold has lapsed; the refused quits were not remembered
    EXPECT_EQ(preparedQuits, 0);
    EXPECT_EQ(runLoopAndQuit(), 0);
    EXPECT_EQ(preparedQuits, 1);
    EXPECT_TRUE(model->didPrepareToQuit());
}

TEST_F(LumenoApplicationTest, WithoutAPromptTheFirstQuitEndsTheLoopAndStopsTheServices) {
    model->start();
    settle();
    ASSERT_TRUE(services.hotkeys.isStarted());
    EXPECT_EQ(runLoopAndQuit(), 0);
    EXPECT_EQ(preparedQuits, 1);
    EXPECT_FALSE(services.hotkeys.isStarted());
    EXPECT_FALSE(log->contains(QStringLiteral("Ignored a quit during a permission prompt")));
}

// Refuses every close, as a window that only hides itself might.
class Unclosable : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Close)
            return false;
        event->ignore();
        return true;
    }
};

TEST_F(LumenoApplicationTest, AQuitLetThroughEndsTheProgramWhateverWindowsAreOpen) {
    model->start();
    settle();
    Unclosable refusal;
    QWidget stubborn;
    stubborn.installEventFilter(&refusal);
    QWidget plain;
    stubborn.show();
    plain.show();
    EXPECT_EQ(runLoopAndQuit(), 0);
    EXPECT_EQ(preparedQuits, 1);
    EXPECT_FALSE(services.hotkeys.isStarted());

    // Held by a prompt, the same quit changes nothing: the services keep running.
    application().prepareToQuit = [this] { ++preparedQuits; };
    model->beginPermissionPrompt();
    EXPECT_FALSE(askToQuitOutsideTheLoop());
    EXPECT_EQ(preparedQuits, 1);
    EXPECT_TRUE(stubborn.isVisible());
}

TEST_F(LumenoApplicationTest, ClosingTheLastWindowLeavesTheProgramRunning) {
    QWidget window;
    window.show();
    QMetaObject::invokeMethod(
        &window,
        [&window] {
            window.close();
            // Queued behind anything the close itself queued, such as an automatic quit.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QCoreApplication::exit(5); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    EXPECT_EQ(QCoreApplication::exec(), 5);
    EXPECT_EQ(preparedQuits, 0);
    EXPECT_FALSE(window.isVisible());
}

// Throws from its event handler what the test hands it.
class Thrower : public QObject {
public:
    std::function<void()> onUserEvent = [] {};
    int handled = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++handled;
        onUserEvent();
        return true;
    }
};

struct NotAStandardException {};

TEST_F(LumenoApplicationTest, AnExceptionEscapingAnEventHandlerIsLoggedAndTheProgramGoesOn) {
    Thrower thrower;
    thrower.onUserEvent = [] { throw std::runtime_error("mailbox.db is locked"); };
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(thrower.handled, 2); // the event after the throwing one is still delivered

    thrower.onUserEvent = [] { throw NotAStandardException(); };
    QEvent direct(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&thrower, &direct));

    std::vector<CapturingLogSink::Entry> faults;
    for (const CapturingLogSink::Entry& entry : log->entries())
        if (entry.level == LogLevel::fault)
            faults.push_back(entry);
    ASSERT_EQ(faults.size(), 3u);
    EXPECT_EQ(faults[0].category, LogCategory::app);
    // The type is public; what it says may hold the user's data and stays private.
    EXPECT_EQ(faults[0].line, QStringLiteral("Uncaught exception std::runtime_error: <private>"));
    EXPECT_EQ(faults[2].line,
              QStringLiteral("Uncaught exception lumeno::(anonymous namespace)::NotAStandardException: <private>"));

    thrower.onUserEvent = [] {};
    QEvent quiet(QEvent::User);
    EXPECT_TRUE(QCoreApplication::sendEvent(&thrower, &quiet));
}

} // namespace
} // namespace lumeno
