// The microphone through a real sound server (PulseAudio in a folder of its own): a server that starts
// after the program, inputs that come and go, recording, and a server that goes away mid-recording.
#include "platform/linux/harness/SoundServer.h"
#include "platform/linux/harness/WaitUntil.h"
#include "platform/linux/LinuxMicrophoneAuthorizer.h"
#include "platform/linux/PulseAudioInput.h"
#include "platform/linux/PulseAudioServer.h"
#include "support/ManualScheduler.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

using desktop::SoundServer;
using desktop::waitUntil;

constexpr int patienceMs = 10000;

class SoundServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousAddress = qgetenv("PULSE_SERVER");
        // Set before any connection: the server is looked for at this address only.
        qputenv("PULSE_SERVER", sound.address().toUtf8());
    }
    void TearDown() override { qputenv("PULSE_SERVER", previousAddress); }

    void startSound(SoundServer::Input input) {
        if (!sound.start(input)) {
            if (qEnvironmentVariable("CI") == QLatin1String("true"))
                FAIL() << sound.whyNotRunning().toStdString();
            GTEST_SKIP() << sound.whyNotRunning().toStdString();
        }
    }

    // Records until `condition` holds; the buffers heard, and whether recording ended by itself.
    struct Recording {
        std::vector<AudioBuffer> buffers;
        bool interrupted = false;
        float peak() const {
            float peak = 0;
            for (const AudioBuffer& buffer : buffers)
                for (float sample : buffer.samples)
                    peak = std::max(peak, std::abs(sample));
            return peak;
        }
    };
    bool record(PulseAudioInput& input, Recording& recording) {
        return input.start([&](const AudioBuffer& buffer) { recording.buffers.push_back(buffer); },
                           [&] { recording.interrupted = true; });
    }

    QByteArray previousAddress;
    ManualClock clock;
    ManualScheduler scheduler{clock};
    SoundServer sound;
};

TEST_F(SoundServerTest, AServerThatStartsLaterIsFoundAndItsDefaultInputFollowed) {
    auto server = std::make_shared<PulseAudioServer>(scheduler);
    LinuxMicrophoneAuthorizer authorizer(server);
    int changes = 0;
    authorizer.onChange = [&] { ++changes; };

    // No server yet: the first attempt fails and the next is scheduled.
    ASSERT_TRUE(waitUntil([&] { return scheduler.pendingCount() == 1; }, patienceMs));
    EXPECT_FALSE(server->isRunning());
    EXPECT_EQ(authorizer.status(), AuthorizationStatus::denied);
    EXPECT_EQ(authorizer.whyDenied(),
              QStringLiteral("No sound server is running yet. Lumeno hears you as soon as one starts."));
    EXPECT_FALSE(authorizer.hasSoundServer());
    PulseAudioInput input(server);
    Recording recording;
    EXPECT_FALSE(record(input, recording));
    EXPECT_EQ(input.whyNotStarted(), QStringLiteral("No sound server is running."));

    // A server with no microphone: its only source listens to the speakers, which is no microphone.
    startSound(SoundServer::Input::none);
    if (IsSkipped() || HasFatalFailure())
        return;
    scheduler.advance(PulseAudioServer::retrySeconds);
    ASSERT_TRUE(waitUntil([&] { return server->isRunning(); }, patienceMs));
    EXPECT_EQ(server->defaultInput(), std::nullopt);
    EXPECT_EQ(authorizer.status(), AuthorizationStatus::denied);
    EXPECT_EQ(authorizer.whyDenied(), QString()); // the usual advice: connect or pick a microphone
    EXPECT_TRUE(authorizer.hasSoundServer());

    // A microphone plugged in becomes the default input, without asking the server again.
    ASSERT_TRUE(sound.plugInMicrophone());
    ASSERT_TRUE(waitUntil([&] { return server->defaultInput().has_value(); }, patienceMs));
    EXPECT_EQ(server->defaultInput(), (PulseAudioServer::Input{QStringLiteral("microphone"), QStringLiteral("Microphone")}));
    EXPECT_EQ(authorizer.status(), AuthorizationStatus::granted);
    EXPECT_EQ(changes, 3);

    // It records, in buffers of the size the level meter expects.
    ASSERT_TRUE(record(input, recording)) << input.whyNotStarted().toStdString();
    ASSERT_TRUE(waitUntil([&] { return recording.buffers.size() >= 3; }, patienceMs));
    EXPECT_EQ(recording.buffers.front().samples.size(), size_t(PulseAudioInput::bufferFrames));
    EXPECT_EQ(recording.buffers.front().sampleRate, PulseAudioInput::sampleRate);
    EXPECT_EQ(recording.peak(), 0.0f);

    // The server goes away mid-recording: the recording ends by itself, and the server is looked for again.
    sound.stop();
    ASSERT_TRUE(waitUntil([&] { return recording.interrupted && !server->isRunning(); }, patienceMs));
    EXPECT_EQ(authorizer.status(), AuthorizationStatus::denied);
    startSound(SoundServer::Input::silent);
    scheduler.advance(PulseAudioServer::retrySeconds);
    ASSERT_TRUE(waitUntil([&] { return server->defaultInput().has_value(); }, patienceMs));
    EXPECT_EQ(authorizer.status(), AuthorizationStatus::granted);
}

// A short tone as a 16-bit mono WAV file at 44.1 kHz (the server converts it, as it would a microphone's).
void writeTone(const QString& path) {
    constexpr int rate = 44100;
    QByteArray samples;
    for (int frame = 0; frame < rate / 2; ++frame) {
        char sample[2];
        qToLittleEndian<qint16>(qint16(16000 * std::sin(2 * M_PI * 440 * frame / rate)), sample);
        samples.append(sample, 2);
    }
    QByteArray header("RIFF....WAVEfmt ");
    const auto append32 = [&](quint32 value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        header.append(bytes, 4);
    };
    const auto append16 = [&](quint16 value) {
        char bytes[2];
        qToLittleEndian(value, bytes);
        header.append(bytes, 2);
    };
    append32(16);
    append16(1);
    append16(1);
    append32(rate);
    append32(rate * 2);
    append16(2);
    append16(16);
    header.append("data");
    append32(quint32(samples.size()));
    qToLittleEndian(quint32(header.size() - 8 + samples.size()), header.data() + 4);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(header + samples);
}

TEST_F(SoundServerTest, WhatTheMicrophoneHearsIsRecordedUntilStopped) {
    startSound(SoundServer::Input::voice);
    if (IsSkipped() || HasFatalFailure())
        return;
    auto server = std::make_shared<PulseAudioServer>(scheduler);
    ASSERT_TRUE(waitUntil([&] { return server->defaultInput().has_value(); }, patienceMs));
    QTemporaryDir folder;
    const QString tone = folder.filePath(QStringLiteral("tone.wav"));
    writeTone(tone);

    PulseAudioInput input(server);
    Recording recording;
    ASSERT_TRUE(record(input, recording)) << input.whyNotStarted().toStdString();
    ASSERT_TRUE(sound.play(tone));
    ASSERT_TRUE(waitUntil([&] { return recording.peak() > 0.3f; }, patienceMs)) << recording.peak();
    input.stop();
    const size_t heard = recording.buffers.size();
    ASSERT_TRUE(sound.play(tone));
    EXPECT_EQ(recording.buffers.size(), heard) << "a stopped recording delivered more";
    EXPECT_FALSE(recording.interrupted);
}

} // namespace
} // namespace lumeno
