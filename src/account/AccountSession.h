#pragma once

#include "account/ServerAPI.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace lumeno {

// A signed-in session as session.json keeps it: the bearer token and the account it belongs to.
struct AccountSession {
    QString token;
    ServerAPI::User user;
    std::optional<ServerAPI::Team> team;

    QByteArray encoded() const;
    // None, with the reason in `error`, for anything but a complete session with a usable token.
    static std::optional<AccountSession> decoded(const QByteArray& data, QString* error = nullptr);

    bool operator==(const AccountSession&) const = default;
};

} // namespace lumeno
