#include "platform/linux/harness/SoundServer.h"

#include "platform/linux/harness/WaitUntil.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>

namespace lumeno::desktop {

namespace {

constexpr int startMs = 10000;
// Longer than any recording a test plays.
constexpr int toolMs = 30000;

// Whether a client can connect to the socket now.
bool accepts(const QString& path) {
    QLocalSocket socket;
    socket.connectToServer(path);
    const bool connected = socket.waitForConnected(100);
    socket.abort();
    return connected;
}

const QString microphone = QStringLiteral("module-null-source source_name=microphone "
                                          "description=Microphone");

} // namespace

SoundServer::SoundServer() = default;

SoundServer::~SoundServer() {
    stop();
}

QString SoundServer::socketPath() const {
    return QDir(folder_.path()).filePath(QStringLiteral("native"));
}

QString SoundServer::address() const {
    return QStringLiteral("unix:") + socketPath();
}

bool SoundServer::start(Input input) {
    if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty()) {
        whyNot_ = QStringLiteral("pulseaudio is not installed (scripts/install-deps.sh installs it)");
        return false;
    }
    stop();
    // No configuration file, no session integration: exactly the modules named here. A null sink gives the
    // server a default output.
    QStringList arguments{QStringLiteral("--daemonize=no"), QStringLiteral("-n"), QStringLiteral("--exit-idle-time=-1"),
                          QStringLiteral("--disallow-exit"), QStringLiteral("--use-pid-file=no"),
                          QStringLiteral("--system=no"), QStringLiteral("--log-target=stderr"),
                          QStringLiteral("--load=module-null-sink sink_name=speakers")};
    if (input == Input::silent)
        arguments << QStringLiteral("--load=") + microphone;
    // What is played into the "voice" output is what the microphone hears: a microphone of its own, not a
    // monitor of an output.
    if (input == Input::voice)
        arguments << QStringLiteral("--load=module-null-sink sink_name=voice")
                  << QStringLiteral("--load=module-remap-source master=voice.monitor source_name=microphone "
                                    "source_properties=device.description=Microphone");
    arguments << QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socketPath();
    // Its state and cookie go to the private folder, never to the user's.
    daemon_.setEnvironment({QStringLiteral("HOME=") + folder_.path(), QStringLiteral("PULSE_STATE_PATH=") + folder_.path(),
                            QStringLiteral("PULSE_RUNTIME_PATH=") + folder_.path()});
    const bool started = daemon_.start(QStringLiteral("pulseaudio"), arguments);
    if (!started || !waitUntil([this] { return !isRunning() || accepts(socketPath()); }, startMs) ||
        !accepts(socketPath())) {
        daemon_.stop();
        whyNot_ = QStringLiteral("pulseaudio did not start");
        return false;
    }
    if (input == Input::voice &&
        !run(QStringLiteral("pactl"), {QStringLiteral("set-default-source"), QStringLiteral("microphone")})) {
        daemon_.stop();
        whyNot_ = QStringLiteral("pactl could not make the microphone the default input");
        return false;
    }
    return true;
}

void SoundServer::stop() {
    daemon_.stop();
}

bool SoundServer::plugInMicrophone() {
    return run(QStringLiteral("pactl"), QStringList{QStringLiteral("load-module")} + microphone.split(QLatin1Char(' ')));
}

bool SoundServer::play(const QString& wavFile) {
    // A short buffer: it returns soon after the last sound, as a speaker stops.
    return run(QStringLiteral("paplay"), {QStringLiteral("--latency-msec=50"), QStringLiteral("--device=voice"), wavFile});
}

bool SoundServer::run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PULSE_SERVER"), address());
    environment.insert(QStringLiteral("HOME"), folder_.path());
    process.setProcessEnvironment(environment);
    process.start(tool, arguments);
    if (!waitUntil([&] { return process.state() == QProcess::NotRunning; }, toolMs))
        return false;
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace lumeno::desktop
