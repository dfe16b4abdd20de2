#include "account/ServerAPI.h"
#include "support/Text.h"

namespace lumeno {

namespace {

// A server sentence is shown as plain text in a label; a runaway one must not push the layout apart.
constexpr int longestShownMessage = 300;

QString kindName(ServerAPI::Error::Kind kind) {
    using Kind = ServerAPI::Error::Kind;
    switch (kind) {
    case Kind::network:
        return QStringLiteral("network");
    case Kind::timeout:
        return QStringLiteral("timeout");
    case Kind::unauthorized:
        return QStringLiteral("unauthorized");
    case Kind::paymentRequired:
        return QStringLiteral("payment required");
    case Kind::rateLimited:
        return QStringLiteral("rate limited");
    case Kind::refused:
        return QStringLiteral("refused");
    case Kind::server:
        return QStringLiteral("server");
    }
    Q_UNREACHABLE();
}

} // namespace

std::optional<QString> ServerAPI::Error::shownMessage() const {
    const QString sentence = Text::trimmed(message);
    if (sentence.isEmpty())
        return std::nullopt;
    if (Text::graphemeCount(sentence) <= longestShownMessage)
        return sentence;
    return Text::graphemePrefix(sentence, longestShownMessage - 1) + QChar(0x2026);
}

QString ServerAPI::Error::userMessage() const {
    if (const auto sentence = shownMessage())
        return *sentence;
    switch (kind) {
    case Kind::network:
        return QStringLiteral(
            "Can't reach the Lumeno server. Check your internet connection, then try again.");
    case Kind::timeout:
        return QStringLiteral("The Lumeno server didn't answer in time. Try again.");
    case Kind::unauthorized:
        return QStringLiteral("Your session has ended. Sign in again.");
    case Kind::paymentRequired:
        return QStringLiteral("Your plan doesn't cover this. Check it with your team's admin.");
    case Kind::rateLimited:
        return QStringLiteral("Too many tries. Wait a minute, then try again.");
    case Kind::refused:
        return QStringLiteral("The Lumeno server refused the request.");
    case Kind::server:
        return QStringLiteral("The Lumeno server had a problem. Try again in a moment.");
    }
    Q_UNREACHABLE();
}

QString ServerAPI::Error::logText() const {
    QString text = kindName(kind);
    if (status != 0)
        text += QStringLiteral(" (HTTP %1)").arg(status);
    if (!code.isEmpty())
        text += QStringLiteral(" [%1]").arg(code);
    if (!reason.isEmpty())
        text += QStringLiteral(": ") + reason;
    return text;
}

} // namespace lumeno
