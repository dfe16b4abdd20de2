#pragma once

#include "platform/linux/harness/AccessibleApp.h"

#include <memory>

namespace lumeno::e2e {

// Applications the user dictates into, besides those of tests/platform/linux/harness (AccessibleTargets: the Qt
// conversation window, the GTK chat window, Chromium). Each is stopped by its pid when destroyed.
struct E2eTargets {
    // A GTK 3 mail window (target/gtk-mail.py): a message from Bo, the reply field focused; reports the
    // field as "reply".
    static std::unique_ptr<desktop::AccessibleApp> gtkMail();
    // A GTK 3 sign-in form with its password field focused; reports "user" and "password".
    static std::unique_ptr<desktop::AccessibleApp> gtkLogin();
    // xterm running a shell: reports nothing, wait for its window instead.
    static std::unique_ptr<desktop::AccessibleApp> xterm();
};

} // namespace lumeno::e2e
