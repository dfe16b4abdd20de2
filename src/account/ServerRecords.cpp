// The server's account and team records in JSON, shared by its answers and session.json.
#include "account/ServerAPI.h"
#include "support/Json.h"

namespace lumeno {

namespace {

template <typename T> T nested(JsonReader& reader, const QString& key, T (*read)(JsonReader&)) {
    JsonReader inner(reader.object(key), key);
    T value = read(inner);
    if (!inner.ok())
        reader.fail(inner.error());
    return value;
}

template <typename T>
std::optional<T> optionalNested(JsonReader& reader, const QString& key, T (*read)(JsonReader&)) {
    if (!reader.has(key))
        return std::nullopt;
    return nested(reader, key, read);
}

ServerAPI::Role readRole(JsonReader& reader) {
    const QString role = reader.string(QStringLiteral("role"));
    if (role == QLatin1String("owner"))
        return ServerAPI::Role::owner;
    if (role != QLatin1String("member") && reader.ok())
        reader.fail(QStringLiteral("unknown role \"%1\"").arg(role));
    return ServerAPI::Role::member;
}

QString roleText(ServerAPI::Role role) {
    return role == ServerAPI::Role::owner ? QStringLiteral("owner") : QStringLiteral("member");
}

ServerAPI::Member readMember(JsonReader& reader) {
    ServerAPI::Member member;
    member.id = reader.string(QStringLiteral("id"));
    member.email = reader.string(QStringLiteral("email"));
    member.name = reader.optionalString(QStringLiteral("name")).value_or(QString());
    member.role = readRole(reader);
    const QString status = reader.string(QStringLiteral("status"));
    member.invited = status == QLatin1String("invited");
    if (!member.invited && status != QLatin1String("active") && reader.ok())
        reader.fail(QStringLiteral("unknown member status \"%1\"").arg(status));
    return member;
}

} // namespace

ServerAPI::User ServerAPI::readUser(JsonReader& reader) {
    User user;
    user.id = reader.string(QStringLiteral("id"));
    user.email = reader.string(QStringLiteral("email"));
    user.name = reader.optionalString(QStringLiteral("name")).value_or(QString());
    return user;
}

ServerAPI::Team ServerAPI::readTeam(JsonReader& reader) {
    Team team;
    team.id = reader.string(QStringLiteral("id"));
    team.name = reader.string(QStringLiteral("name"));
    team.role = readRole(reader);
    return team;
}

ServerAPI::Account ServerAPI::readAccount(JsonReader& reader) {
    Account account;
    account.user = nested(reader, QStringLiteral("user"), readUser);
    account.team = optionalNested(reader, QStringLiteral("team"), readTeam);
    return account;
}

ServerAPI::TeamDetails ServerAPI::readTeamDetails(JsonReader& reader) {
    TeamDetails details;
    details.team = nested(reader, QStringLiteral("team"), readTeam);
    details.members = reader.objects<Member>(QStringLiteral("members"), readMember);
    return details;
}

ServerAPI::User ServerAPI::readUserAnswer(JsonReader& reader) {
    return nested(reader, QStringLiteral("user"), readUser);
}

QJsonObject ServerAPI::accountJson(const Account& account) {
    const User& user = account.user;
    QJsonObject object{{QStringLiteral("user"), QJsonObject{{QStringLiteral("id"), user.id},
                                                            {QStringLiteral("email"), user.email},
                                                            {QStringLiteral("name"), user.name}}}};
    if (const auto& team = account.team) {
        object.insert(QStringLiteral("team"), QJsonObject{{QStringLiteral("id"), team->id},
                                                          {QStringLiteral("name"), team->name},
                                                          {QStringLiteral("role"), roleText(team->role)}});
    }
    return object;
}

} // namespace lumeno
