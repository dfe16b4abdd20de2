#pragma once

#include "foundation/AppBundle.h"
#include "platform/HttpTransport.h"
#include "support/Scheduler.h"
#include "updates/AppcastItem.h"
#include "updates/FailedUpdate.h"
#include "updates/Installability.h"
#include "updates/UpdateProblem.h"

#include <QCoroTask>
#include <QObject>
#include <QProcessEnvironment>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace lumeno {

class SettingsStore;
class SuccessorWatch;

// Keeps the installed program up to date from its update feed: checks, offers the newest version, and on
// the user's word downloads it to a file beside the installed folder (following a few redirects), checks
// its length and signature, unpacks it there and swaps it in, then starts the new program and quits once
// that has taken over; a new program that does not is ended and the replaced version put back. Network
// work runs on the event loop without waiting; unpacking and file work run on a worker. Any failure leaves
// the installed program as it was and says why.
class SoftwareUpdate : public QObject {
    Q_OBJECT
public:
    enum class Phase {
        idle,
        noFeed, // the user asked, and this copy names no feed
        checking,
        upToDate,
        available,
        downloading,
        verifying, // checking the signature and unpacking
        readyToInstall,
        installing,
        failed,
    };
    Q_ENUM(Phase)

    struct Environment {
        AppBundle bundle;
        std::optional<QUrl> feed;
        std::shared_ptr<HttpTransport> transport;
        SettingsStore& settings;
        QString systemVersion; // compared with an item's minimum system version
        // Starts `program` detached from this process; its process id, none when it could not be started.
        std::function<std::optional<qint64>(const QString& program, const QStringList& arguments)> launch;
        // Runs a job on another thread.
        std::function<void(std::function<void()>)> runOnWorker;
        Scheduler& scheduler;
        // Where the new program says it has taken over (TakeoverNotice).
        QString handoverSocket;
        // The one-copy lock: given up for the new program to take, taken back when it does not take over
        // (false when another copy holds it by then).
        std::function<void()> releaseLock;
        std::function<bool()> retakeLock;
        // Where the version that could not start here is recorded (FailedUpdate).
        QString failedUpdateFile = {};
        // This start is the replaced version, put back by the command because the new one crashed.
        std::optional<FailedUpdate> fellBackFrom = {};
    };

    // The argument the new program is started with after an update: it tells this one once it runs, and
    // removes the replaced version once this one has quit.
    static constexpr QLatin1StringView handoverArgument{"--after-update"};
    // The argument the command (bin/lumeno) starts the replaced version with once it has put it back
    // because the new one crashed; that version is then in the staging folder.
    static constexpr QLatin1StringView fallbackArgument{"--after-failed-start"};
    // How long the new program has to take over before it is ended and the replaced version put back.
    static constexpr double handoverSeconds = 30;
    // A feed is at most this large; anything longer is refused while it arrives.
    static constexpr qint64 maxFeedBytes = 1024 * 1024;
    // An archive the feed says is larger than this is not downloaded: a release is some tens of
    // megabytes, and a claim of gigabytes would fill the disk before its signature could be checked.
    static constexpr qint64 maxArchiveBytes = 512 * 1024 * 1024;
    // How long quitting waits for a prepared version that was never installed to be removed.
    static constexpr std::chrono::milliseconds quitWait{3000};
    // An error answer from the feed's or the archive's server is read only this far, enough for its
    // message: its status says what went wrong, and a long error page would only fill memory.
    static constexpr qint64 maxErrorBodyBytes = 4 * 1024;

    explicit SoftwareUpdate(Environment environment, QObject* parent = nullptr);
    ~SoftwareUpdate() override;

    // LUMENO_UPDATE_FEED from `environment`, else the bundle's feed; none when neither is set or the one
    // chosen is refused by the server address rule (which `refusal` then names).
    static std::optional<QUrl> feedAddress(const AppBundle& bundle, const QProcessEnvironment& environment,
                                           QString* refusal = nullptr);

    const std::optional<QUrl>& feed() const { return env_.feed; }
    const AppBundle& bundle() const { return env_.bundle; }
    Phase phase() const { return phase_; }
    // The update offered, from `available` on.
    const std::optional<AppcastItem>& item() const { return item_; }
    const std::optional<UpdateProblem>& problem() const { return problem_; }
    qint64 receivedBytes() const { return received_; }
    // Whether this copy may replace its installed folder, and why not; known once a check found an update,
    // or the user's check found no feed.
    const Installability& installability() const { return installability_; }
    bool canInstall() const { return installability_.allowsInstall(); }
    // Why the offered version could not start here when it was installed before; none when it never failed.
    std::optional<FailedUpdate> failureOfOffer() const;

    // Reads the feed. A background check stays quiet about a skipped version; the user's check does not.
    void check(bool userInitiated);
    // The offered version is not offered again by background checks. (Remind Me Later only puts the window
    // away: the offer stays.)
    void skipThisVersion();
    // After a failed attempt, offers the version found again, so the user can retry.
    void offerAgain();
    // Downloads and prepares the offered version.
    void installUpdate();
    // Stops a download or preparation; the installed program is untouched.
    void cancel();
    // Puts the prepared version in place and starts it.
    void installAndRelaunch();

signals:
    void changed();
    void progress(qint64 received, qint64 total);
    void foundUpdate(const AppcastItem& item, bool userInitiated);
    void noUpdate(bool userInitiated);
    // The user chose to skip the offered version.
    void offerDismissed();
    // A check, a download or an install failed; `userInitiated` unless it was a background check.
    void failed(const UpdateProblem& problem, bool userInitiated);
    // The new program has started: this one should quit now.
    void relaunched();

private:
    class Preparation;

    // From the download to the swap: a check or a second install would cut across it.
    bool isInstalling() const;
    QCoro::Task<> runCheck(bool userInitiated, int generation);
    // Learns whether this user may replace the installed folder (on the worker); false once superseded.
    QCoro::Task<bool> learnWhetherInstallable(int generation);
    QCoro::Task<> explainNoFeed(int generation);
    QCoro::Task<> runDownload(int generation);
    QCoro::Task<> runInstall();
    void startNewVersion();
    void discardPreparedOnQuit();
    // The new program did not take over (`reason`, for the log): the replaced version goes back in place.
    QCoro::Task<> putBack(UpdateProblem::Kind kind, QString reason);
    // Remembers that `failure`'s version could not start here (written on the worker).
    void recordFailure(FailedUpdate failure);
    void setPhase(Phase phase);
    void fail(UpdateProblem problem);

    Environment env_;
    Phase phase_ = Phase::idle;
    std::optional<AppcastItem> item_;
    std::optional<UpdateProblem> problem_;
    qint64 received_ = 0;
    Installability installability_;
    int generation_ = 0; // bumped by cancel() and each new start: older work ends without a word
    bool userInitiated_ = false; // the work under way is the user's, not a background check
    HttpAbort abort_;
    std::unique_ptr<SuccessorWatch> successor_;
    std::shared_ptr<Preparation> preparation_; // the version being checked and unpacked on the worker
    Scheduler::TimerId handoverTimer_ = 0;
    bool handoverTimedOut_ = false;
    std::optional<FailedUpdate> failed_;
    bool failedRead_ = false; // failed_ holds the record on the disk
};

} // namespace lumeno
