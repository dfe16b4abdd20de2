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
    // The buses first: a window manager may keep its settings behind the session bus (xfwm4 does).
    if (!accessibility().isRunning())
        return fail(accessibility().whyNotRunning());
    if (!desktop_.startWindowManager())
        return fail(desktop_.whyNotRunning());
    if (!sound_.start())
        return fail(sound_.whyNotRunning());
    if (!tray_.start())
        return fail(tray_.whyNotRunning());
    running_ = true;
    return true;
}

void UserSession::stop() {
    running_ = false;
    notifierTray_.stop();
    tray_.stop();
    sound_.stop();
    desktop_.stop();
}

} // namespace lumeno::e2e
