#pragma once

#include <QString>

#include <optional>

namespace lumeno {

// Why a draft could not be made. Thrown by value from the drafting call; the reply loop shows `title()`
// as the headline and `detail()` as the second line. A message sent by the server, when there is one,
// replaces the default detail.
struct DraftError {
    enum class Kind {
        server,
        invalidKey,
        modelUnavailable,
        billing,
        rateLimited,
        providerError,
        network,
        signedOut,
        timeout,
        emptyResponse,
    };

    Kind kind = Kind::server;
    std::optional<QString> message;

    static DraftError server(std::optional<QString> message = {}) { return {Kind::server, std::move(message)}; }
    static DraftError invalidKey(std::optional<QString> message = {}) { return {Kind::invalidKey, std::move(message)}; }
    static DraftError modelUnavailable(std::optional<QString> message = {}) { return {Kind::modelUnavailable, std::move(message)}; }
    static DraftError billing(std::optional<QString> message = {}) { return {Kind::billing, std::move(message)}; }
    static DraftError rateLimited(std::optional<QString> message = {}) { return {Kind::rateLimited, std::move(message)}; }
    static DraftError providerError(std::optional<QString> message = {}) { return {Kind::providerError, std::move(message)}; }
    static DraftError network(std::optional<QString> message = {}) { return {Kind::network, std::move(message)}; }
    static DraftError signedOut() { return {Kind::signedOut, std::nullopt}; }
    static DraftError timeout() { return {Kind::timeout, std::nullopt}; }
    static DraftError emptyResponse() { return {Kind::emptyResponse, std::nullopt}; }

    QString title() const;
    std::optional<QString> detail() const;

    bool operator==(const DraftError&) const = default;
};

} // namespace lumeno
