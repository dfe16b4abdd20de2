#pragma once

#include "platform/linux/harness/AccessibleApp.h"

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
    // Chromium showing `page`.
    static std::unique_ptr<AccessibleApp> chromium(const QString& profileFolder, const QUrl& page);
    // A web mail thread answered in a rich editor, or in a textarea with `plain` (target/webmail.html).
    static QUrl webMailPage(bool plain = false);

    // Firefox ESR showing `page`, with a new profile in `profileFolder`; null when it is not installed.
    static std::unique_ptr<AccessibleApp> firefox(const QString& profileFolder, const QUrl& page);
    // A desktop text editor (KWrite, gedit) with a copy of a message from Bo open (target/mail-from-bo.txt:
    // its name reads as mail), the copy and the editor's settings kept in `profileFolder`; null when it is
    // not installed.
    static std::unique_ptr<AccessibleApp> editor(const QString& program, const QString& profileFolder);

    // Thunderbird with a local account for ada@example.com, showing a message from Bo Lind
    // (target/friday-review.eml), with its profile in `profileFolder`; null when it is not installed.
    static std::unique_ptr<AccessibleApp> thunderbird(const QString& profileFolder);

    // The desktop's editors with `document` open and their settings in `profileFolder`; null when not
    // installed. LibreOffice Writer runs with its GTK 3 front end, the one on the accessibility bus.
    static std::unique_ptr<AccessibleApp> mousepad(const QString& profileFolder, const QString& document);
    static std::unique_ptr<AccessibleApp> libreOfficeWriter(const QString& profileFolder, const QString& document);
    static std::unique_ptr<AccessibleApp> kwrite(const QString& profileFolder, const QString& document);
};

} // namespace lumeno::desktop
