#include "platform/fake/FakeScenes.h"

namespace lumeno {

namespace {

using Element = FakeDesktop::Element;
using ElementId = FakeDesktop::ElementId;

Element container(const QString& role, const QString& description = {}) {
    Element element;
    element.role = role;
    element.description = description;
    return element;
}

Element button(const QString& title) {
    Element element;
    element.role = AXRole::button;
    element.title = title;
    return element;
}

// One message of a thread as chat and web mail pages lay it out: author, time, text.
void addMessage(FakeDesktop& desktop, ElementId list, const QString& author, const QString& time,
                const QString& text) {
    const ElementId row = desktop.add(list, container(AXRole::row));
    desktop.addText(row, author);
    desktop.addText(row, time);
    desktop.addText(row, text);
    desktop.add(row, button(QStringLiteral("React")));
}

} // namespace

FakeScenes::MailReply FakeScenes::mailReply(FakeDesktop& desktop) {
    MailReply scene;
    desktop.addApplication({scene.pid, QStringLiteral("org.gnome.evolution"), QStringLiteral("Evolution"),
                            QStringLiteral("GTK")});
    scene.window = desktop.addWindow(scene.pid, QStringLiteral("Re: Lunch on Friday")).window;

    const ElementId toolbar = desktop.add(scene.window, container(AXRole::toolbar));
    desktop.add(toolbar, button(QStringLiteral("Send")));
    desktop.add(toolbar, button(QStringLiteral("Attach")));

    const ElementId header = desktop.add(scene.window, container(AXRole::group));
    desktop.addText(header, QStringLiteral("To:"));
    scene.to = desktop.add(header, Element::field(AXRole::textField,
                                                  QStringLiteral("Ana Novak <ana.novak@example.com>"),
                                                  QStringLiteral("To")));
    desktop.addText(header, QStringLiteral("Subject:"));
    scene.subject = desktop.add(header, Element::field(AXRole::textField, QStringLiteral("Re: Lunch on Friday"),
                                                       QStringLiteral("Subject")));

    const ElementId scroll = desktop.add(scene.window, container(AXRole::scrollArea));
    Element body = Element::field(AXRole::textArea,
                                  QStringLiteral("\n\nOn Tue, 3 Mar 2026 at 10:12, Ana Novak <ana.novak@example.com> "
                                                 "wrote:\n> Hi Bob,\n>\n> Are you free for lunch on Friday? The new "
                                                 "place on Main Street has a\n> lunch menu, and I could book a table "
                                                 "for 12:30.\n>\n> Ana"),
                                  QStringLiteral("Message body"));
    body.selection = {0, 0};
    scene.body = desktop.add(scroll, body);
    return scene;
}

FakeScenes::ChatThread FakeScenes::chatThread(FakeDesktop& desktop) {
    ChatThread scene;
    desktop.addApplication({scene.pid, QStringLiteral("com.slack.slack"), QStringLiteral("Slack"),
                            QStringLiteral("Chromium")});
    scene.window = desktop.addWindow(scene.pid, QStringLiteral("Ana Novak (DM) - Acme - Slack")).window;

    scene.sidebar = desktop.add(scene.window, container(AXRole::list, QStringLiteral("Channels")));
    for (const char* channel : {"Acme", "# general", "# design", "Ana Novak", "Marko Kovač"})
        desktop.addText(scene.sidebar, QString::fromUtf8(channel));

    const ElementId conversation = desktop.add(scene.window, container(AXRole::group));
    const ElementId heading = desktop.add(conversation, container(AXRole::heading));
    desktop.addText(heading, QStringLiteral("Ana Novak"));
    scene.thread = desktop.add(conversation, container(AXRole::list, QStringLiteral("Messages")));
    addMessage(desktop, scene.thread, QStringLiteral("Ana Novak"), QStringLiteral("10:02 AM"),
               QStringLiteral("Morning! Did you get a chance to look at the draft contract?"));
    addMessage(desktop, scene.thread, QStringLiteral("Bob Smith"), QStringLiteral("10:05 AM"),
               QStringLiteral("Not yet, I'll read it after lunch."));
    addMessage(desktop, scene.thread, QStringLiteral("Ana Novak"), QStringLiteral("10:06 AM"),
               QStringLiteral("Great. Legal needs our comments by Thursday, and they asked whether the payment "
                              "terms can stay at 30 days."));
    addMessage(desktop, scene.thread, QStringLiteral("Ana Novak"), QStringLiteral("10:07 AM"),
               QStringLiteral("Also, are you joining the call at 3?"));

    const ElementId composerBox = desktop.add(conversation, container(AXRole::group));
    scene.composer = desktop.add(composerBox, Element::field(AXRole::textArea, QString(),
                                                             QStringLiteral("Message Ana Novak")));
    desktop.add(composerBox, button(QStringLiteral("Send")));
    return scene;
}

FakeScenes::WebMail FakeScenes::webMail(FakeDesktop& desktop) {
    WebMail scene;
    desktop.addApplication({scene.pid, QStringLiteral("firefox"), QStringLiteral("Firefox"), QStringLiteral("Gecko")});
    const FakeDesktop::Window tab =
        desktop.addWindow(scene.pid, QStringLiteral("Invoice 2291 - bob@example.com - Mail"),
                          QStringLiteral("https://mail.google.com/mail/u/0/#inbox/FMfcgzQXJWq"));
    scene.window = tab.window;
    scene.page = tab.content;

    const ElementId message = desktop.add(scene.page, container(AXRole::group));
    const ElementId subject = desktop.add(message, container(AXRole::heading));
    desktop.addText(subject, QStringLiteral("Invoice 2291"));
    desktop.addText(message, QStringLiteral("Ana Novak <ana.novak@example.com>"));
    desktop.addText(message, QStringLiteral("Mar 3, 2026, 9:41 AM"));
    desktop.addText(message, QStringLiteral("Hi Bob, invoice 2291 is attached. Could you confirm the delivery "
                                            "address before we ship on Monday? Thanks, Ana"));
    const ElementId reply = desktop.add(scene.page, container(AXRole::group));
    scene.replyBox = desktop.add(reply, Element::field(AXRole::textArea, QString(), QStringLiteral("Message Body")));
    desktop.add(reply, button(QStringLiteral("Send")));
    return scene;
}

FakeScenes::Terminal FakeScenes::terminal(FakeDesktop& desktop) {
    Terminal scene;
    desktop.addApplication({scene.pid, QStringLiteral("org.gnome.terminal"), QStringLiteral("Terminal"),
                            QStringLiteral("GTK")});
    scene.window = desktop.addWindow(scene.pid, QStringLiteral("bob@laptop: ~")).window;
    scene.screen = desktop.add(scene.window, Element::field(AXRole::textArea, QStringLiteral("bob@laptop:~$ ")));
    return scene;
}

FakeScenes::SignIn FakeScenes::signIn(FakeDesktop& desktop) {
    SignIn scene;
    desktop.addApplication({scene.pid, QStringLiteral("chromium"), QStringLiteral("Chromium"),
                            QStringLiteral("Chromium")});
    const FakeDesktop::Window tab = desktop.addWindow(scene.pid, QStringLiteral("Sign in - Acme"),
                                                      QStringLiteral("https://accounts.example.com/login"));
    scene.window = tab.window;
    scene.email = desktop.add(tab.content, Element::field(AXRole::textField, QStringLiteral("bob@example.com"),
                                                          QStringLiteral("Email")));
    Element password = Element::field(AXRole::textField, QStringLiteral("correct horse battery"),
                                      QStringLiteral("Password"));
    password.subrole = AXSubrole::secureTextField;
    scene.password = desktop.add(tab.content, password);
    desktop.add(tab.content, button(QStringLiteral("Sign in")));
    return scene;
}

FakeScenes::Notes FakeScenes::notes(FakeDesktop& desktop) {
    Notes scene;
    desktop.addApplication({scene.pid, QStringLiteral("org.gnome.texteditor"), QStringLiteral("Text Editor"),
                            QStringLiteral("GTK")});
    scene.window = desktop.addWindow(scene.pid, QStringLiteral("notes.txt")).window;
    scene.text = desktop.add(scene.window, Element::field(AXRole::textArea, QStringLiteral("Groceries: milk, eggs")));
    return scene;
}

} // namespace lumeno
