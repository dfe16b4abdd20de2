#pragma once

#include "platform/fake/FakeDesktop.h"

namespace lumeno {

// Ready-made applications for the fake desktop, the kind of windows a user replies in. Each adds its
// application (with its own process id) and returns the elements a test needs; none of them moves focus.
struct FakeScenes {
    // A desktop mail client's reply window: To and Subject fields over a body that holds the quoted
    // original; the caret sits at the start of the body.
    struct MailReply {
        qint64 pid = 4101;
        FakeDesktop::ElementId window = 0, to = 0, subject = 0, body = 0;
    };
    static MailReply mailReply(FakeDesktop& desktop);

    // A chat application (a web-based desktop app) with a direct-message thread of four messages, a
    // channel sidebar and an empty composer under the thread.
    struct ChatThread {
        qint64 pid = 4202;
        FakeDesktop::ElementId window = 0, sidebar = 0, thread = 0, composer = 0;
    };
    static ChatThread chatThread(FakeDesktop& desktop);

    // Web mail in a browser tab: an open message and an empty inline reply box under it.
    struct WebMail {
        qint64 pid = 4303;
        FakeDesktop::ElementId window = 0, page = 0, replyBox = 0;
    };
    static WebMail webMail(FakeDesktop& desktop);

    // A terminal window whose text area takes keys.
    struct Terminal {
        qint64 pid = 4404;
        FakeDesktop::ElementId window = 0, screen = 0;
    };
    static Terminal terminal(FakeDesktop& desktop);

    // A sign-in page with an e-mail field and a password field.
    struct SignIn {
        qint64 pid = 4505;
        FakeDesktop::ElementId window = 0, email = 0, password = 0;
    };
    static SignIn signIn(FakeDesktop& desktop);

    // A plain text editor: one text area, the kind of field the program doesn't know as mail or chat.
    struct Notes {
        qint64 pid = 4606;
        FakeDesktop::ElementId window = 0, text = 0;
    };
    static Notes notes(FakeDesktop& desktop);
};

} // namespace lumeno
