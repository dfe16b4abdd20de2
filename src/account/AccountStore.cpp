#include "account/AccountStore.h"

#include "drafting/DraftError.h"
#include "support/AtomicFile.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "support/Regex.h"
#include "support/Text.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace lumeno {

namespace {

bool looksLikeEmail(const QString& address) {
    static const Regex pattern = Regex::fixed(QStringLiteral("^[^\\s@]+@[^\\s@.]+(\\.[^\\s@.]+)+$"));
    return pattern.matchesAnywhere(address);
}

// Server answers to the drafting call in the reply loop's vocabulary. The error code names the provider's
// faults whatever the status; the status decides the rest.
DraftError draftError(const ServerAPI::Error& error) {
    using Kind = ServerAPI::Error::Kind;
    const std::optional<QString> message = error.shownMessage();
    if (error.code == QLatin1String("invalid_key"))
        return DraftError::invalidKey(message);
    if (error.code == QLatin1String("model_unavailable"))
        return DraftError::modelUnavailable(message);
    if (error.code == QLatin1String("provider_error"))
        return DraftError::providerError(message);
    if (error.code == QLatin1String("provider_timeout"))
        return DraftError::timeout();
    switch (error.kind) {
    case Kind::network:
        return DraftError::network();
    case Kind::timeout:
        return DraftError::timeout();
    case Kind::unauthorized:
        return DraftError::signedOut();
    case Kind::paymentRequired:
        return DraftError::billing(message);
    case Kind::rateLimited:
        return DraftError::rateLimited(message);
    case Kind::refused:
    case Kind::server:
        return DraftError::server(message);
    }
    Q_UNREACHABLE();
}

} // namespace

AccountStore::AccountStore(QString directory, std::shared_ptr<ServerAPI> server, const Clock& clock,
                           QString deviceName, QObject* parent)
    : QObject(parent), filePath_(QDir(directory).filePath(QStringLiteral("session.json"))),
      server_(std::move(server)), clock_(clock), deviceName_(std::move(deviceName)),
      disk_(Log::app, QStringLiteral("Couldn't save the session: %{public}s")) {
    loadSession();
}

QString AccountStore::noServerMessage() {
    return QStringLiteral("This build isn't connected to a Lumeno server.");
}

std::optional<QString> AccountStore::cannotCallServer() const {
    if (!server_)
        return noServerMessage();
    if (!session_)
        return QStringLiteral("Sign in first.");
    return std::nullopt;
}

void AccountStore::setSession(std::optional<Session> session) {
    if (session_ == session)
        return;
    const bool wasSignedIn = isSignedIn();
    session_ = std::move(session);
    emit sessionChanged();
    if (wasSignedIn != isSignedIn())
        emit isSignedInChanged();
}

void AccountStore::setTeamDetails(std::optional<ServerAPI::TeamDetails> details) {
    if (teamDetails_ == details)
        return;
    teamDetails_ = std::move(details);
    emit teamDetailsChanged();
}

void AccountStore::setPendingEmail(std::optional<QString> email) {
    if (pendingEmail_ == email)
        return;
    pendingEmail_ = std::move(email);
    emit pendingEmailChanged();
}

void AccountStore::loadSession() {
    const AtomicFile::ReadResult read = AtomicFile::read(filePath_);
    if (std::holds_alternative<AtomicFile::Missing>(read))
        return;
    QString problem;
    if (const auto* data = std::get_if<QByteArray>(&read)) {
        if (data->isEmpty())
            return; // a sign-out emptied the file where it could not remove it

        session_ = Session::decoded(*data, &problem);
        if (session_)
            return;
    } else {
        problem = std::get<AtomicFile::Unreadable>(read).message;
    }
    // Kept aside rather than overwritten by the next sign-in.
    const auto moved = AtomicFile::moveAside(filePath_, clock_.now());
    if (const auto* path = std::get_if<QString>(&moved)) {
        Log::app.error("Session file unreadable (%{public}s); moved aside as %{public}s",
                       {problem, QFileInfo(*path).fileName()});
    } else if (const auto* failure = std::get_if<AtomicFile::Unreadable>(&moved)) {
        Log::app.error("Session file unreadable (%{public}s) and could not be moved aside: %{public}s",
                       {problem, failure->message});
    }
}

void AccountStore::saveSession() {
    disk_.save(sessionWork());
}

FileWriter::Work AccountStore::sessionWork() const {
    return [path = filePath_, contents = session_ ? std::optional(session_->encoded()) : std::nullopt] {
        if (contents)
            return AtomicFile::write(path, *contents);
        std::optional<QString> problem = AtomicFile::remove(path);
        // A folder that keeps the file may still let it be emptied, which reads as signed out too.
        if (problem && !AtomicFile::empty(path))
            problem.reset();
        return problem;
    };
}

bool AccountStore::forgetSession(const QString& token, const QString& why) {
    if (!session_ || session_->token != token)
        return false;
    setSession(std::nullopt);
    setTeamDetails(std::nullopt);
    Log::app.info("Signed out: %{public}s", {why});
    return true;
}

void AccountStore::endSession(const QString& token, const QString& why) {
    if (forgetSession(token, why))
        saveSession();
}

bool AccountStore::stillCurrent(const QString& token, const ServerAPI::Error* error) {
    if (error && error->kind == ServerAPI::Error::Kind::unauthorized)
        endSession(token, QStringLiteral("the server refused the session"));
    return session_ && session_->token == token;
}

QCoro::Task<std::optional<QString>> AccountStore::requestCode(QString name, QString email) {
    if (!server_)
        co_return noServerMessage();
    const QString address = Text::lowercased(Text::trimmed(email));
    if (!looksLikeEmail(address))
        co_return QStringLiteral("Enter a valid email address.");
    const QString trimmedName = Text::trimmed(name);

    const std::shared_ptr<ServerAPI> server = server_;
    QPointer<AccountStore> self(this);
    const auto result = co_await server->requestCode(address);
    if (const auto* error = std::get_if<ServerAPI::Error>(&result)) {
        Log::app.error("Couldn't ask for a sign-in code: %{public}s", {error->logText()});
        co_return error->userMessage();
    }
    if (self) {
        self->pendingName_ = trimmedName;
        self->setPendingEmail(address);
    }
    co_return std::nullopt;
}

void AccountStore::cancelCode() {
    setPendingEmail(std::nullopt);
}

QCoro::Task<std::optional<QString>> AccountStore::confirmCode(QString code) {
    if (!pendingEmail_)
        co_return QStringLiteral("Ask for a code first.");
    if (!server_)
        co_return noServerMessage();
    const QString trimmedCode = Text::trimmed(code);
    if (trimmedCode.isEmpty())
        co_return QStringLiteral("Enter the code from the email.");

    const std::shared_ptr<ServerAPI> server = server_;
    QPointer<AccountStore> self(this);
    const auto result = co_await server->verify(*pendingEmail_, trimmedCode, pendingName_, deviceName_);
    if (const auto* error = std::get_if<ServerAPI::Error>(&result)) {
        Log::app.error("Sign-in failed: %{public}s", {error->logText()});
        co_return error->userMessage();
    }
    if (!self)
        co_return std::nullopt;
    const ServerAPI::SignIn& signIn = std::get<ServerAPI::SignIn>(result);
    setPendingEmail(std::nullopt);
    pendingName_.clear();
    setTeamDetails(std::nullopt);
    setSession(Session{signIn.token, signIn.account.user, signIn.account.team});
    saveSession();
    Log::app.info("Signed in");
    if (signIn.account.team)
        refresh(); // brings the team's members; runs on by itself
    co_return std::nullopt;
}

void AccountStore::rename(const QString& name) {
    const QString trimmed = Text::trimmed(name);
    if (!session_ || trimmed.isEmpty() || trimmed == session_->user.name)
        return;
    Session renamed = *session_;
    renamed.user.name = trimmed;
    setSession(renamed);
    saveSession();
    if (server_) {
        nameInFlight_ = trimmed;
        sendName(renamed.token, trimmed);
    }
}

QCoro::Task<> AccountStore::sendName(QString token, QString name) {
    const std::shared_ptr<ServerAPI> server = server_;
    QPointer<AccountStore> self(this);
    const auto result = co_await server->rename(token, name);
    const auto* error = std::get_if<ServerAPI::Error>(&result);
    if (error)
        Log::app.error("Couldn't send the new name: %{public}s", {error->logText()});
    if (!self)
        co_return;
    if (nameInFlight_ == name)
        nameInFlight_.reset();
    if (!stillCurrent(token, error) || error)
        co_return;
    // The server may tidy the name; a newer rename made meanwhile wins.
    if (session_->user.name == name) {
        Session updated = *session_;
        updated.user = std::get<ServerAPI::User>(result);
        setSession(updated);
        saveSession();
    }
}

QCoro::Task<> AccountStore::refresh() {
    if (!server_ || !session_)
        co_return;
    const std::shared_ptr<ServerAPI> server = server_;
    const QString token = session_->token;
    QPointer<AccountStore> self(this);

    const auto me = co_await server->me(token);
    const auto* error = std::get_if<ServerAPI::Error>(&me);
    if (error && error->kind != ServerAPI::Error::Kind::unauthorized)
        Log::app.error("Account refresh failed: %{public}s", {error->logText()});
    if (!self || !self->stillCurrent(token, error) || error)
        co_return;
    const ServerAPI::Account& account = std::get<ServerAPI::Account>(me);
    Session updated = *session_;
    // A rename still on its way is newer than what the server knew when it answered.
    const QString localName = updated.user.name;
    updated.user = account.user;
    if (nameInFlight_ == localName)
        updated.user.name = localName;
    updated.team = account.team;
    if (updated != *session_) {
        setSession(updated);
        saveSession();
    }
    if (!account.team) {
        setTeamDetails(std::nullopt);
        co_return;
    }

    const auto team = co_await server->team(token);
    const auto* teamError = std::get_if<ServerAPI::Error>(&team);
    if (teamError && teamError->kind != ServerAPI::Error::Kind::unauthorized)
        Log::app.error("Team refresh failed: %{public}s", {teamError->logText()});
    if (!self || !self->stillCurrent(token, teamError) || teamError)
        co_return;
    setTeamDetails(std::get<ServerAPI::TeamDetails>(team));
}

QCoro::Task<std::optional<QString>> AccountStore::signOut() {
    if (!session_)
        co_return std::nullopt;
    const QString token = session_->token;
    forgetSession(token, QStringLiteral("by the user"));
    // Ended on the server too, so a session file left behind cannot sign anyone in again.
    if (server_)
        sendLogout(server_, token);
    const QString folder = QDir::toNativeSeparators(QFileInfo(filePath_).absolutePath());
    QCoro::Task<std::optional<QString>> removing = disk_.run(sessionWork());
    const std::optional<QString> problem = co_await removing;
    if (!problem)
        co_return std::nullopt;
    Log::app.error("Couldn't save the session: %{public}s", {*problem});
    co_return *problem + QStringLiteral(". Lumeno may sign you in again when it next starts: remove the file from ") +
        folder + QStringLiteral(" yourself.");
}

QCoro::Task<> AccountStore::sendLogout(std::shared_ptr<ServerAPI> server, QString token) {
    const auto result = co_await server->logout(token);
    if (const auto* error = std::get_if<ServerAPI::Error>(&result);
        error && error->kind != ServerAPI::Error::Kind::unauthorized)
        Log::app.error("Couldn't end the session on the server: %{public}s", {error->logText()});
}

QCoro::Task<std::optional<QString>> AccountStore::deleteAccount() {
    if (const auto problem = cannotCallServer())
        co_return *problem;
    const QString token = session_->token;
    const std::shared_ptr<ServerAPI> server = server_;
    QPointer<AccountStore> self(this);
    const auto result = co_await server->deleteAccount(token);
    const auto* error = std::get_if<ServerAPI::Error>(&result);
    if (self)
        self->stillCurrent(token, error);
    if (error) {
        Log::app.error("Couldn't delete the account: %{public}s", {error->logText()});
        co_return error->userMessage();
    }
    if (self)
        self->endSession(token, QStringLiteral("the account was deleted"));
    co_return std::nullopt;
}

QCoro::Task<std::optional<QString>>
AccountStore::changeTeam(QCoro::Task<ServerAPI::Result<ServerAPI::TeamDetails>> call, QString token) {
    QPointer<AccountStore> self(this);
    const auto result = co_await std::move(call);
    const auto* error = std::get_if<ServerAPI::Error>(&result);
    if (error)
        Log::app.error("Team change failed: %{public}s", {error->logText()});
    if (!self || !self->stillCurrent(token, error) || error)
        co_return error ? std::optional(error->userMessage()) : std::nullopt;
    const auto& details = std::get<ServerAPI::TeamDetails>(result);
    setTeamDetails(details);
    if (session_->team != details.team) {
        Session updated = *session_;
        updated.team = details.team;
        setSession(updated);
        saveSession();
    }
    co_return std::nullopt;
}

QCoro::Task<std::optional<QString>> AccountStore::invite(QString email) {
    if (const auto problem = cannotCallServer())
        co_return *problem;
    const QString address = Text::lowercased(Text::trimmed(email));
    if (!looksLikeEmail(address))
        co_return QStringLiteral("Enter a valid email address.");
    const QString token = session_->token;
    co_return co_await changeTeam(server_->invite(token, address), token);
}

QCoro::Task<std::optional<QString>> AccountStore::removeMember(QString memberID) {
    if (const auto problem = cannotCallServer())
        co_return *problem;
    const QString token = session_->token;
    co_return co_await changeTeam(server_->remove(token, memberID), token);
}

QCoro::Task<std::optional<QString>> AccountStore::leaveTeam() {
    if (const auto problem = cannotCallServer())
        co_return *problem;
    const QString token = session_->token;
    const std::shared_ptr<ServerAPI> server = server_;
    QPointer<AccountStore> self(this);
    const auto result = co_await server->leave(token);
    const auto* error = std::get_if<ServerAPI::Error>(&result);
    if (error)
        Log::app.error("Couldn't leave the team: %{public}s", {error->logText()});
    if (!self || !self->stillCurrent(token, error) || error)
        co_return error ? std::optional(error->userMessage()) : std::nullopt;
    setTeamDetails(std::nullopt);
    Session updated = *session_;
    updated.team.reset();
    setSession(updated);
    saveSession();
    co_return std::nullopt;
}

QCoro::Task<DraftReply> AccountStore::draft(DraftPrompt prompt, CancelToken cancel) {
    if (!server_)
        throw DraftError::server(noServerMessage());
    if (!session_)
        throw DraftError::signedOut();
    const QString token = session_->token;
    const std::shared_ptr<ServerAPI> server = server_;
    QPointer<AccountStore> self(this);
    const auto result = co_await server->draft(token, std::move(prompt), cancel);
    if (cancel.isCancelled())
        throw Cancelled{};
    if (const auto* error = std::get_if<ServerAPI::Error>(&result)) {
        Log::draft.error("Drafting call failed: %{public}s", {error->logText()});
        if (self)
            self->stillCurrent(token, error);
        throw draftError(*error);
    }
    const DraftReply& reply = std::get<DraftReply>(result);
    if (Text::trimmed(reply.text).isEmpty())
        throw DraftError::emptyResponse();
    co_return reply;
}

} // namespace lumeno
