#include "account/AccountSession.h"

#include "support/Json.h"

namespace lumeno {

QByteArray AccountSession::encoded() const {
    QJsonObject object = ServerAPI::accountJson({user, team});
    object.insert(QStringLiteral("token"), token);
    return Json::write(object);
}

std::optional<AccountSession> AccountSession::decoded(const QByteArray& data, QString* error) {
    const auto fail = [error](const QString& reason) -> std::optional<AccountSession> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    QString parseError;
    const std::optional<QJsonValue> document = Json::parse(data, &parseError);
    if (!document)
        return fail(parseError);
    if (!document->isObject())
        return fail(QStringLiteral("not a JSON object"));

    JsonReader reader(document->toObject());
    const QString token = reader.string(QStringLiteral("token"));
    const ServerAPI::Account account = ServerAPI::readAccount(reader);
    if (!reader.ok())
        return fail(reader.error());
    if (!ServerAPI::isUsableToken(token))
        return fail(QStringLiteral("the token is not printable ASCII"));
    return AccountSession{token, account.user, account.team};
}

} // namespace lumeno
