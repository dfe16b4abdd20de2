#include "details/DraftDetails.h"

#include "support/Clock.h"

#include <array>
#include <utility>

namespace lumeno {

namespace {

constexpr std::array<std::pair<DraftDetails::Kind, const char*>, 2> kindNames = {{
    {DraftDetails::Kind::reply, "reply"},
    {DraftDetails::Kind::edit, "edit"},
}};

constexpr std::array<std::pair<DraftDetails::Conversation::Status, const char*>, 4> statusNames = {{
    {DraftDetails::Conversation::Status::found, "found"},
    {DraftDetails::Conversation::Status::tooLittle, "tooLittle"},
    {DraftDetails::Conversation::Status::off, "off"},
    {DraftDetails::Conversation::Status::skipped, "skipped"},
}};

template <typename T, std::size_t N>
QString nameOf(const std::array<std::pair<T, const char*>, N>& names, T value) {
    for (const auto& [candidate, name] : names)
        if (candidate == value)
            return QString::fromLatin1(name);
    return {};
}

// Raw values match exactly: "Reply" or "FOUND" are not a kind or a status.
template <typename T, std::size_t N>
std::optional<T> valueOf(const std::array<std::pair<T, const char*>, N>& names, const QString& raw) {
    for (const auto& [value, name] : names)
        if (raw == QLatin1String(name))
            return value;
    return std::nullopt;
}

} // namespace

DraftDetails DraftDetails::started(Kind kind, const Clock& clock) {
    DraftDetails details;
    details.id = QUuid::createUuid();
    details.date = clock.now();
    details.kind = kind;
    return details;
}

QString DraftDetails::rawValue(Kind kind) {
    return nameOf(kindNames, kind);
}

std::optional<DraftDetails::Kind> DraftDetails::kindFromRawValue(const QString& raw) {
    return valueOf(kindNames, raw);
}

QString DraftDetails::rawValue(Conversation::Status status) {
    return nameOf(statusNames, status);
}

std::optional<DraftDetails::Conversation::Status> DraftDetails::statusFromRawValue(const QString& raw) {
    return valueOf(statusNames, raw);
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
