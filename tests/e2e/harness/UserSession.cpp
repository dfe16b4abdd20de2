#include "e2e/harness/UserSession.h"

namespace lumeno::e2e {

namespace {

UserSession* current = nullptr;

} // namespace

UserSession::UserSession() {
    current = this;
}

UserSession::~UserSession() {
    stop();
    current = nullptr;
}

UserSession& UserSession::instance() {
    return *current;
}

bool UserSession::fail(const QString& why) {
    whyNot_ = why;
    return false;
}

bool UserSession::startServer() {
    return desktop_.startServer() || fail(desktop_.whyNotRunning());
}

bool UserSession::startDesktop() {
    // XFCE keeps its settings on the session bus, which the accessibility bus brings.
    if (!accessibility().isRunning())
        return fail(accessibility().whyNotRunning());
    if (isXfce() ? !xfce_.startWindowManager() : !desktop_.startWindowManager())
        return fail(isXfce() ? xfce_.whyNotRunning() : desktop_.whyNotRunning());
    if (!sound_.start())
        return fail(sound_.whyNotRunning());
    if (isXfce() ? !xfce_.startPanel() : !tray_.start())
        return fail(isXfce() ? xfce_.whyNotRunning() : tray_.whyNotRunning());
    running_ = true;
    return true;
}

void UserSession::stop() {
    running_ = false;
    notifierTray_.stop();
    tray_.stop();
    xfce_.stop();
    sound_.stop();
    desktop_.stop();
}

} // namespace lumeno::e2e
