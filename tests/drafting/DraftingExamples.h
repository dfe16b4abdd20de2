#pragma once

#include "drafting/DraftInput.h"

namespace lumeno::examples {

// Real-looking drafting situations shared by the prompt, pipeline and generator tests.

inline StyleProfile mayasStyle() {
    StyleProfile style;
    style.name = QStringLiteral("Maya Lindqvist");
    style.signAsName = QStringLiteral("Maya");
    style.emailSignOff = QStringLiteral("Best,");
    style.tone = StyleProfile::Tone::warm;
    style.samples = QStringLiteral(
        "Hi Tom,\n\nLove it, let's do it. I'll bring the slides.\n\nBest,\nMaya\n"
        "---\n"
        "Quick one: can we push to 3? Running late from the dentist.");
    style.learnedExamples = {
        QStringLiteral("Thanks Jonas! Tuesday is perfect, I'll book the room."),
        QStringLiteral("Sounds good to me. Let's keep it under an hour though :)"),
    };
    return style;
}

inline DraftInput emailReply() {
    DraftInput input;
    input.intent = QStringLiteral(
        "tell him the Lisbon venue works for us but we need the final headcount by Friday, and that I'll "
        "send the agenda next week");
    input.surface = Surface::email;
    input.appName = QStringLiteral("Thunderbird");
    input.windowTitle = QStringLiteral("Re: Venue for the spring offsite - Inbox - Mozilla Thunderbird");
    input.userName = QStringLiteral("Maya Lindqvist");
    input.context = PackedContext{PackedContext::Source::screen,
                                  QStringLiteral(
                                      "From: Jonas Weber <jonas.weber@northwind.example>\n"
                                      "To: Maya Lindqvist\n"
                                      "Date: Mon, 2 Mar 2026 08:14\n\n"
                                      "Hi Maya,\n\n"
                                      "We found two options for the spring offsite: a converted warehouse in "
                                      "Lisbon (up to 40 people, 12-14 May) or a hotel near Porto (up to 60, "
                                      "19-21 May). Lisbon is cheaper but we'd need to confirm numbers soon.\n\n"
                                      "Which one do you prefer?\n\n"
                                      "Cheers,\nJonas"),
                                  0, false};
    input.style = mayasStyle();
    input.person = PersonCard{QStringLiteral("Jonas Weber"),
                              QStringLiteral("Runs events at Northwind. Prefers short e-mails."),
                              {QStringLiteral("Send Jonas the offsite agenda (due Friday)")},
                              {QStringLiteral("Budget for the offsite is 18,000 EUR")}};
    input.spokenLanguage = QStringLiteral("English");
    input.addressee = QStringLiteral("Jonas Weber");
    input.ownAlias = QStringLiteral("Maya Lindqvist");
    return input;
}

inline DraftInput chatReply() {
    DraftInput input;
    input.intent = QStringLiteral("say yes I can take the Thursday on-call, but I'm out from 6 to 7");
    input.surface = Surface::chat;
    input.appName = QStringLiteral("Slack");
    input.windowTitle = QStringLiteral("platform-team (Channel) - Northwind - Slack");
    input.userName = QStringLiteral("Maya Lindqvist");
    input.context = PackedContext{PackedContext::Source::screen,
                                  QStringLiteral(
                                      "Lukas Brandt  9:41 AM\n"
                                      "Kann jemand am Donnerstag die Rufbereitschaft übernehmen? Ich bin auf "
                                      "einer Hochzeit.\n"
                                      "Sofia Marx  9:43 AM\n"
                                      "Ich leider nicht, bin die ganze Woche unterwegs."),
                                  0, true};
    input.style = mayasStyle();
    input.style.length = StyleProfile::Length::short_;
    input.style.tone = StyleProfile::Tone::direct;
    input.style.formality = StyleProfile::Formality::casual;
    input.spokenLanguage = QStringLiteral("English");
    input.addressee = QStringLiteral("Lukas Brandt");
    return input;
}

inline DraftInput linkedInReply() {
    DraftInput input;
    input.intent = QStringLiteral(
        "thank her, say I'm happy where I am right now but open to a call in the autumn");
    input.surface = Surface::linkedIn;
    input.appName = QStringLiteral("Firefox");
    input.windowTitle = QStringLiteral("(3) Messaging | LinkedIn — Mozilla Firefox");
    input.userName = QStringLiteral("Maya Lindqvist");
    input.context = PackedContext{PackedContext::Source::selection,
                                  QStringLiteral(
                                      "Hi Maya, I came across your profile and was impressed by your work on "
                                      "the Northwind platform. We're hiring a Head of Engineering in Berlin. "
                                      "Would you be open to a short chat this week?\n— Elena Rossi, Talent "
                                      "Partner"),
                                  0, false};
    input.style = mayasStyle();
    input.style.formality = StyleProfile::Formality::formal;
    input.spokenLanguage = QStringLiteral("English");
    input.addressee = QStringLiteral("Elena Rossi");
    return input;
}

inline DraftInput selectionEdit() {
    DraftInput input;
    input.intent = QStringLiteral("make this more polite and say the deadline can move a few days if needed");
    input.surface = Surface::email;
    input.appName = QStringLiteral("Thunderbird");
    input.windowTitle = QStringLiteral("Write: Draft contract - Thunderbird");
    input.userName = QStringLiteral("Maya Lindqvist");
    input.style = mayasStyle();
    input.spokenLanguage = QStringLiteral("English");
    input.edit = EditRequest{QStringLiteral("Send me the signed contract by Friday."), EditRequest::Scope::selection,
                             QStringLiteral("Hi Priya,\n\nThanks for the call today. Send me the signed contract by "
                                            "Friday. After that we can schedule the kickoff.\n\nBest,\nMaya")};
    return input;
}

inline DraftInput followUp() {
    DraftInput input;
    input.intent = QStringLiteral("nudge her about the invoice, politely, ask if she needs anything else from me");
    input.surface = Surface::email;
    input.appName = QStringLiteral("Evolution");
    input.windowTitle = QStringLiteral("Invoice 2026-014 for February");
    input.userName = QStringLiteral("Maya Lindqvist");
    input.context = PackedContext{PackedContext::Source::screen,
                                  QStringLiteral(
                                      "From: Maya Lindqvist <maya@lindqvist.example>\n"
                                      "To: Priya Natarajan\n"
                                      "Date: Tue, 17 Feb 2026 16:02\n\n"
                                      "Hi Priya,\n\nPlease find attached invoice 2026-014 for the February "
                                      "workshops.\n\nBest,\nMaya"),
                                  0, false};
    input.style = mayasStyle();
    input.spokenLanguage = QStringLiteral("English");
    input.addressee = QStringLiteral("Priya Natarajan");
    input.followingUp = true;
    input.ownAlias = QStringLiteral("Maya Lindqvist");
    return input;
}

} // namespace lumeno::examples
