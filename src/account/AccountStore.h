#pragma once

#include "account/AccountSession.h"
#include "account/ServerAPI.h"
#include "drafting/DraftPrompt.h"
#include "drafting/DraftReply.h"
#include "support/FileWriter.h"

#include <QCoroTask>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

namespace lumeno {

class Clock;

// The sign-in state: the session kept in session.json (owner-only), the account and team calls, and the
// drafting call. Operations the views start return an optional message (none = success) that is shown as
// it is; none of them throws except `draft`.
class AccountStore : public QObject {
    Q_OBJECT
public:
    using Session = AccountSession;

    // Loads `<directory>/session.json` at once (no session when it is missing or does not decode; a file
    // that does not decode is moved aside). `server` is none when this build has no server configured.
    AccountStore(QString directory, std::shared_ptr<ServerAPI> server, const Clock& clock, QString deviceName,
                 QObject* parent = nullptr);

    static QString noServerMessage();

    bool isSignedIn() const { return session_.has_value(); }
    const std::optional<Session>& session() const { return session_; }
    // The team with its members, once `refresh()` or a team call has brought them.
    const std::optional<ServerAPI::TeamDetails>& teamDetails() const { return teamDetails_; }
    // The address a code was sent to and not yet confirmed.
    const std::optional<QString>& pendingEmail() const { return pendingEmail_; }
    bool hasServer() const { return server_ != nullptr; }
    const QString& filePath() const { return filePath_; }
    // Waits until the session saved so far is on disk.
    void finishDiskWork() { disk_.finish(); }

    QCoro::Task<std::optional<QString>> requestCode(QString name, QString email);
    QCoro::Task<std::optional<QString>> confirmCode(QString code);
    // Forgets the address a code was sent to (the user wants to type another).
    void cancelCode();
    // Stored at once; sent to the server in the background.
    void rename(const QString& name);
    // Reloads the account (and its team) from the server; a refused token signs out here.
    QCoro::Task<> refresh();
    // Signs out here at once and tells the server in the background. None once session.json is gone, else
    // what the user must know: it could not be removed or emptied.
    QCoro::Task<std::optional<QString>> signOut();
    QCoro::Task<std::optional<QString>> deleteAccount();
    QCoro::Task<std::optional<QString>> invite(QString email);
    QCoro::Task<std::optional<QString>> removeMember(QString memberID);
    QCoro::Task<std::optional<QString>> leaveTeam();
    // The drafting call. Throws DraftError.
    QCoro::Task<DraftReply> draft(DraftPrompt prompt, CancelToken cancel = {});

signals:
    void isSignedInChanged();
    void sessionChanged();
    void teamDetailsChanged();
    void pendingEmailChanged();

private:
    // Why a call that needs the server and a session cannot be made; none when it can.
    std::optional<QString> cannotCallServer() const;
    void setSession(std::optional<Session> session);
    void setTeamDetails(std::optional<ServerAPI::TeamDetails> details);
    void setPendingEmail(std::optional<QString> email);
    void loadSession();
    // session.json as the session is now, written (or removed) off the main thread; failures are logged.
    void saveSession();
    // The disk work that brings session.json to the session as it is now.
    FileWriter::Work sessionWork() const;
    // Forgets the session when `token` is still the current one (a late answer to an old session must not
    // sign out a newer one); whether it did.
    bool forgetSession(const QString& token, const QString& why);
    // Forgets the session as above and saves that.
    void endSession(const QString& token, const QString& why);
    // Whether the answer's session is still the current one; a refused token ends it.
    bool stillCurrent(const QString& token, const ServerAPI::Error* error);
    QCoro::Task<std::optional<QString>>
    changeTeam(QCoro::Task<ServerAPI::Result<ServerAPI::TeamDetails>> call, QString token);
    QCoro::Task<> sendName(QString token, QString name);
    static QCoro::Task<> sendLogout(std::shared_ptr<ServerAPI> server, QString token);

    QString filePath_;
    std::shared_ptr<ServerAPI> server_;
    const Clock& clock_;
    QString deviceName_;
    std::optional<Session> session_;
    std::optional<ServerAPI::TeamDetails> teamDetails_;
    std::optional<QString> pendingEmail_;
    QString pendingName_;
    std::optional<QString> nameInFlight_; // sent to the server, answer not back yet
    FileWriter disk_;
};

} // namespace lumeno
