#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QUrl>

#include <chrono>
#include <optional>
#include <vector>

namespace lumeno::e2e {

class LumenoHome;

// The built `lumeno` binary run as a user runs it, on the test desktop: its own home, the loopback server,
// speech from a WAV file instead of the microphone, the test desktop's buses and sound server. Its log (one
// "<category>: <line>" a line on standard error) is collected as it comes, each line with when it came. It
// is ended by its pid when the object goes, and by the kernel should the test process die.
class LumenoProcess {
public:
    struct Options {
        QUrl server;                    // LUMENO_API_URL; none: no server configured
        std::optional<QString> audioFile; // LUMENO_AUDIO_FILE; none: the sound server's default input
        QStringList environment;        // further "NAME=value" variables
        QString program;                // the command to run; empty: the program in the build tree
        // The log goes to this file instead of a pipe, so that a program this one starts and that outlives
        // it (the new version after an update) logs there too; empty: a pipe.
        QString logFile;
    };
    struct Line {
        QString text; // "app: Lumeno started; …"
        std::chrono::steady_clock::time_point arrived;
    };

    LumenoProcess(const LumenoHome& home, const Options& options);
    ~LumenoProcess();
    LumenoProcess(const LumenoProcess&) = delete;
    LumenoProcess& operator=(const LumenoProcess&) = delete;

    qint64 pid() const { return pid_; }
    std::chrono::steady_clock::time_point started() const { return started_; }
    bool isRunning() const { return process_.state() != QProcess::NotRunning; }

    // Waits until a log line matches `pattern` (one already written counts), at most `timeoutMs`; the line.
    std::optional<Line> waitForLine(const QRegularExpression& pattern, int timeoutMs = 10000);
    // Waits until a line containing `text` is written, counting only lines after the first `after` ones.
    std::optional<Line> waitForLineContaining(const QString& text, int timeoutMs = 10000, qsizetype after = 0);
    // Until the program announces it listens to the hot key.
    bool waitUntilReady(int timeoutMs = 20000);
    const std::vector<Line>& lines() const { return lines_; }
    // Every line, one a line, for a failure message.
    QString log() const;

    // SIGTERM, as the session ends it.
    void terminate();
    // Waits until it has ended; its exit status then (none: still running, or killed by a signal).
    std::optional<int> waitForExit(int timeoutMs = 10000);

    // Its resident memory now, in kilobytes (VmRSS).
    std::optional<qint64> residentKilobytes() const;

private:
    void readLog();

    QProcess process_;
    qint64 pid_ = 0;
    std::chrono::steady_clock::time_point started_;
    QString logFile_;
    qint64 logRead_ = 0; // how much of the log file was read
    QByteArray pending_;
    std::vector<Line> lines_;
};

} // namespace lumeno::e2e
