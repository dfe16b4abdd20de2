#include "e2e/harness/SoundServer.h"

#include "platform/linux/harness/DesktopTest.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace lumeno::e2e {

namespace {

constexpr int startMs = 10000;

// Whether a client can connect to the socket now.
bool accepts(const QString& path) {
    QLocalSocket socket;
    socket.connectToServer(path);
    const bool connected = socket.waitForConnected(100);
    socket.abort();
    return connected;
}

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
    // server a default output; the null source is the default input, or there is none.
    QStringList arguments{QStringLiteral("--daemonize=no"), QStringLiteral("-n"), QStringLiteral("--exit-idle-time=-1"),
                          QStringLiteral("--disallow-exit"), QStringLiteral("--use-pid-file=no"),
                          QStringLiteral("--system=no"), QStringLiteral("--log-target=stderr"),
                          QStringLiteral("--load=module-null-sink sink_name=speakers")};
    if (input == Input::silent)
        arguments << QStringLiteral("--load=module-null-source source_name=microphone");
    arguments << QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 socket=") + socketPath();
    // Its state and cookie go to the private folder, never to the user's.
    daemon_.setEnvironment({QStringLiteral("HOME=") + folder_.path(), QStringLiteral("PULSE_STATE_PATH=") + folder_.path(),
                            QStringLiteral("PULSE_RUNTIME_PATH=") + folder_.path()});
    const bool started = daemon_.start(QStringLiteral("pulseaudio"), arguments);
    if (!started || !desktop::DesktopTest::waitUntil([this] { return !isRunning() || accepts(socketPath()); }, startMs) ||
        !accepts(socketPath())) {
        daemon_.stop();
        whyNot_ = QStringLiteral("pulseaudio did not start");
        return false;
    }
    return true;
}

void SoundServer::stop() {
    daemon_.stop();
}

} // namespace lumeno::e2e
