#pragma once

#include "linux/harness/AccessibleApp.h"

#include <QUrl>

#include <memory>

namespace lumeno::desktop {

// The applications the accessibility tests and benchmarks read, each with a conversation of `messages`
// messages above the field that has the focus.
struct AccessibleTargets {
    // Our Qt window (target/ConversationTarget.cpp).
    static std::unique_ptr<AccessibleApp> qt(int messages = 3);
    // A GTK 3 text view holding `draft` (target/gtk-conversation.py).
    static std::unique_ptr<AccessibleApp> gtk(const QString& draft, int messages = 3);
    // Chromium showing a thread and a textarea (target/conversation.html), with its profile in
    // `profileFolder`; null when Chromium is not installed.
    static std::unique_ptr<AccessibleApp> chromium(const QString& profileFolder, int messages = 3);
    static QUrl chromiumPage(int messages = 3);
};

} // namespace lumeno::desktop
