#pragma once

#include "platform/linux/harness/ChildProcess.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace lumeno::desktop {

// The desktop's sound server: PulseAudio in a folder of its own, with a null output and, as its default
// input, one of: a silent microphone; none (its only source then listens to the output, which is no
// microphone); or a microphone that hears what play() plays, for speech through the server.
class SoundServer {
public:
    SoundServer();
    ~SoundServer();

    enum class Input { silent, none, voice };
    // Starts PulseAudio and waits until it accepts clients; false (with whyNotRunning()) otherwise.
    bool start(Input input = Input::silent);
    void stop();
    bool isRunning() const { return daemon_.isRunning(); }
    const QString& whyNotRunning() const { return whyNot_; }

    // For PULSE_SERVER: where clients find it, whether it runs yet or not.
    QString address() const;

    // With Input::none: plugs in a silent microphone, which becomes the default input. False when the
    // server refused.
    bool plugInMicrophone();
    // With Input::voice: plays a WAV file into the microphone, returning once it has played to its end.
    bool play(const QString& wavFile);

private:
    QString socketPath() const;
    // Runs one of PulseAudio's tools on this server to its end; false when it failed.
    bool run(const QString& tool, const QStringList& arguments);

    QTemporaryDir folder_;
    ChildProcess daemon_;
    QString whyNot_;
};

} // namespace lumeno::desktop
