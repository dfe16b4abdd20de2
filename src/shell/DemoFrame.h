#pragma once

#include <QString>

namespace lumeno {

// One moment of the how-to demonstration's 6.2-second loop: a message arrives, the key is held and the
// words are heard, the draft is written, and it types itself into the field. Everything is a function of
// the seconds since the page was shown, so the loop restarts with each page.
struct DemoFrame {
    static constexpr double loopSeconds = 6.2;
    static constexpr double holdStart = 0.8; // the keys go down and the bubble listens
    static constexpr double holdEnd = 3.0;   // the keys come up and the bubble drafts
    static constexpr double draftStart = 3.5;
    static constexpr double fadeSeconds = 0.18;

    double t = 0;            // seconds into the loop
    bool listening = false;
    bool drafting = false;
    double bubbleOpacity = 0; // eases in when listening starts and out when the draft starts typing
    QString words;           // heard so far; empty before the first word
    QString field;           // what the demonstrated field holds
    bool caretOn = true;

    static DemoFrame at(double elapsed, bool edit);
    // The first characters of `text` for a progress of 0 to 1, counted in user-perceived characters.
    static QString prefix(const QString& text, double progress);

    static QString incomingMessage() { return QStringLiteral("Are you free Thursday at 3?"); }
    static QString spokenWords(bool edit);
    static QString fieldBefore(bool edit);
    static QString fieldAfter(bool edit);
    static QString busyLabel(bool edit);
    static QString accessibleLabel(bool edit);

    bool operator==(const DemoFrame&) const = default;
};

} // namespace lumeno
