#include "shell/DemoFrame.h"

#include "support/Text.h"

#include <algorithm>
#include <cmath>

namespace lumeno {

namespace {

double clamped(double value) {
    return std::clamp(value, 0.0, 1.0);
}

double easeOut(double progress) {
    return 1 - (1 - progress) * (1 - progress);
}

} // namespace

QString DemoFrame::spokenWords(bool edit) {
    return edit ? QStringLiteral("make it warmer") : QStringLiteral("say yes, Thursday works");
}

QString DemoFrame::fieldBefore(bool edit) {
    return edit ? QStringLiteral("Yes, Thursday at 3 works.") : QString();
}

QString DemoFrame::fieldAfter(bool edit) {
    return edit ? QStringLiteral("Yes! Thursday at 3 works great. Can’t wait.") : QStringLiteral("Yes, Thursday at 3 works.");
}

QString DemoFrame::busyLabel(bool edit) {
    return edit ? QStringLiteral("Editing…") : QStringLiteral("Drafting…");
}

QString DemoFrame::accessibleLabel(bool edit) {
    return edit ? QStringLiteral("Demo: the text in the field is rewritten.")
                : QStringLiteral("Demo: a reply appears in the field.");
}

QString DemoFrame::prefix(const QString& text, double progress) {
    return Text::graphemePrefix(text, int(std::round(progress * Text::graphemeCount(text))));
}

DemoFrame DemoFrame::at(double elapsed, bool edit) {
    DemoFrame frame;
    frame.t = std::fmod(elapsed, loopSeconds);
    const double t = frame.t;
    frame.listening = t >= holdStart && t < holdEnd;
    frame.drafting = t >= holdEnd && t < draftStart;
    if (frame.listening || frame.drafting)
        frame.words = prefix(spokenWords(edit), clamped((t - 1.15) / (2.7 - 1.15)));

    if (t < holdStart)
        frame.bubbleOpacity = 0;
    else if (t < draftStart)
        frame.bubbleOpacity = easeOut(clamped((t - holdStart) / fadeSeconds));
    else
        frame.bubbleOpacity = 1 - easeOut(clamped((t - draftStart) / fadeSeconds));

    const double typed = (t - draftStart) / (4.4 - draftStart);
    frame.field = typed <= 0 ? fieldBefore(edit) : prefix(fieldAfter(edit), std::min(typed, 1.0));
    frame.caretOn = int(t * 2) % 2 == 0;
    return frame;
}

} // namespace lumeno
