#pragma once

#include "platform/linux/harness/ChildProcess.h"

#include <QString>
#include <QTemporaryDir>

namespace lumeno::e2e {

// The desktop's sound server: PulseAudio in a folder of its own, its default input a silent null source
// (the machine has no microphone, and a test's speech comes from a WAV file). Started with or without that
// input, and restarted, for the tests of a missing microphone and of a sound server that comes late.
class SoundServer {
public:
    SoundServer();
    ~SoundServer();

    enum class Input { silent, none };
    // Starts PulseAudio and waits until it accepts clients; false (with whyNotRunning()) otherwise.
    bool start(Input input = Input::silent);
    void stop();
    bool isRunning() const { return daemon_.isRunning(); }
    const QString& whyNotRunning() const { return whyNot_; }

    // For PULSE_SERVER: where clients find it, whether it runs yet or not.
    QString address() const;

private:
    QString socketPath() const;

    QTemporaryDir folder_;
    desktop::ChildProcess daemon_;
    QString whyNot_;
};

} // namespace lumeno::e2e
