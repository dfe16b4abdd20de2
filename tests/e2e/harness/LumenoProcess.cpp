#include "e2e/harness/LumenoProcess.h"

#include "e2e/harness/LumenoHome.h"
#include "platform/linux/harness/DesktopTest.h"

#include <QFile>

#include <csignal>
#include <sys/prctl.h>

namespace lumeno::e2e {

LumenoProcess::LumenoProcess(const LumenoHome& home, const Options& options) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // What a user's session gives a program, pointed at this home; nothing of the test runner's.
    for (const char* name : {"LUMENO_RUNNING_TESTS", "LUMENO_API_URL", "LUMENO_AUDIO_FILE", "XDG_CONFIG_HOME",
                             "XDG_DATA_HOME", "XDG_CACHE_HOME", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.runtimeFolder());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("QT_FORCE_STDERR_LOGGING"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_MESSAGE_PATTERN"), QStringLiteral("%{category}: %{message}"));
    if (!options.server.isEmpty())
        environment.insert(QStringLiteral("LUMENO_API_URL"), options.server.toString());
    if (options.audioFile)
        environment.insert(QStringLiteral("LUMENO_AUDIO_FILE"), *options.audioFile);
    for (const QString& variable : options.environment)
        environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(home.path());
    process_.setProcessChannelMode(QProcess::MergedChannels);
    logFile_ = options.logFile;
    if (!logFile_.isEmpty())
        process_.setStandardOutputFile(logFile_, QIODevice::Append);
    process_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { readLog(); });
    started_ = std::chrono::steady_clock::now();
    process_.start(options.program.isEmpty() ? QStringLiteral(LUMENO_BINARY) : options.program, {});
    process_.waitForStarted();
    pid_ = process_.processId();
}

LumenoProcess::~LumenoProcess() {
    if (!isRunning())
        return;
    process_.kill();
    process_.waitForFinished(3000);
}

void LumenoProcess::readLog() {
    if (logFile_.isEmpty())
        pending_.append(process_.readAllStandardOutput());
    else {
        QFile file(logFile_);
        if (file.open(QIODevice::ReadOnly) && file.seek(logRead_)) {
            pending_.append(file.readAll());
            logRead_ = file.pos();
        }
    }
    const auto now = std::chrono::steady_clock::now();
    for (qsizetype end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n')) {
        QString text = QString::fromUtf8(pending_.left(end));
        pending_.remove(0, end + 1);
        // Release builds name the category "app.lumeno.<category>"; the short name is enough here.
        text.remove(QStringLiteral("app.lumeno."));
        lines_.push_back({text, now});
    }
}

std::optional<LumenoProcess::Line> LumenoProcess::waitForLine(const QRegularExpression& pattern, int timeoutMs) {
    std::optional<Line> found;
    desktop::DesktopTest::waitUntil(
        [&] {
            readLog();
            for (const Line& line : lines_) {
                if (pattern.match(line.text).hasMatch()) {
                    found = line;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

std::optional<LumenoProcess::Line> LumenoProcess::waitForLineContaining(const QString& text, int timeoutMs,
                                                                         qsizetype after) {
    std::optional<Line> found;
    desktop::DesktopTest::waitUntil(
        [&] {
            readLog();
            for (auto line = lines_.begin() + std::min<qsizetype>(after, qsizetype(lines_.size())); line != lines_.end();
                 ++line) {
                if (line->text.contains(text)) {
                    found = *line;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

bool LumenoProcess::waitUntilReady(int timeoutMs) {
    return waitForLineContaining(QStringLiteral("Lumeno started;"), timeoutMs).has_value();
}

QString LumenoProcess::log() const {
    QStringList texts;
    for (const Line& line : lines_)
        texts.append(line.text);
    return texts.join(u'\n');
}

void LumenoProcess::terminate() {
    if (isRunning())
        ::kill(pid_t(pid_), SIGTERM);
}

std::optional<int> LumenoProcess::waitForExit(int timeoutMs) {
    if (!desktop::DesktopTest::waitUntil([this] { return !isRunning(); }, timeoutMs))
        return std::nullopt;
    if (process_.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return process_.exitCode();
}

std::optional<qint64> LumenoProcess::residentKilobytes() const {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid_));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLongLong();
    }
    return std::nullopt;
}

} // namespace lumeno::e2e
