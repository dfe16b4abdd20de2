#include "drafting/DraftError.h"

namespace lumeno {

QString DraftError::title() const {
    switch (kind) {
    case Kind::server: return QStringLiteral("The Lumeno server had a problem");
    case Kind::invalidKey: return QStringLiteral("The model provider refused the key");
    case Kind::modelUnavailable: return QStringLiteral("The chosen model isn't available");
    case Kind::billing: return QStringLiteral("Drafting is paused for billing");
    case Kind::rateLimited: return QStringLiteral("Too many drafts right now");
    case Kind::providerError: return QStringLiteral("The model provider had a problem");
    case Kind::network: return QStringLiteral("Can't reach the Lumeno server");
    case Kind::signedOut: return QStringLiteral("Sign in to draft replies");
    case Kind::timeout: return QStringLiteral("The draft took too long");
    case Kind::emptyResponse: return QStringLiteral("The model sent back an empty draft");
    }
    Q_UNREACHABLE();
}

std::optional<QString> DraftError::detail() const {
    if (message && !message->trimmed().isEmpty())
        return message->trimmed();
    switch (kind) {
    case Kind::server: return QStringLiteral("Try again in a moment.");
    case Kind::invalidKey: return QStringLiteral("Choose another provider in Settings, or try again later.");
    case Kind::modelUnavailable: return QStringLiteral("Choose another model in Settings.");
    case Kind::billing: return QStringLiteral("Check your plan with your team's admin.");
    case Kind::rateLimited: return QStringLiteral("Wait a few seconds, then try again.");
    case Kind::providerError: return std::nullopt;
    case Kind::network: return QStringLiteral("Check your internet connection, then try again.");
    case Kind::signedOut: return QStringLiteral("Lumeno drafts through your account. Sign in with your e-mail address.");
    case Kind::timeout: return QStringLiteral("The server didn't answer in time. Try again.");
    case Kind::emptyResponse: return QStringLiteral("Try again, or say a little more about the reply.");
    }
    Q_UNREACHABLE();
}

} // namespace lumeno
