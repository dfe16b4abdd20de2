#include "details/DraftDetails.h"

#include "support/Clock.h"

namespace lumeno {

DraftDetails DraftDetails::started(Kind kind, const Clock& clock) {
    DraftDetails details;
    details.id = QUuid::createUuid();
    details.date = clock.now();
    details.kind = kind;
    return details;
}

QString DraftDetails::surfaceLabel(Surface surface) {
    switch (surface) {
    case Surface::email:
        return QStringLiteral("Email");
    case Surface::chat:
        return QStringLiteral("Chat");
    case Surface::linkedIn:
        return QStringLiteral("LinkedIn");
    case Surface::other:
        break;
    }
    return QStringLiteral("Other app (no greeting or sign-off rules)");
}

QString DraftDetails::Result::secondsText() const {
    return QString::asprintf("%.1f", seconds);
}

QString DraftDetails::Conversation::summary() const {
    if (status != Status::found)
        return note;
    QStringList parts;
    if (messages == 1)
        parts << QStringLiteral("about 1 message");
    else if (messages >= 2)
        parts << QStringLiteral("about %1 messages").arg(messages);
    parts << QStringLiteral("%1 characters").arg(characters);
    if (source)
        parts << *source;
    if (truncated)
        parts << QStringLiteral("trimmed to the part nearest your reply");
    if (redactions >= 1)
        parts << QStringLiteral("%1 secret%2 removed").arg(redactions).arg(redactions == 1 ? "" : "s");
    QString line = QStringLiteral("Found: ") + parts.join(QStringLiteral(" · "));
    if (!sent)
        line += QStringLiteral(" · switched off, not sent");
    return line;
}

} // namespace lumeno
