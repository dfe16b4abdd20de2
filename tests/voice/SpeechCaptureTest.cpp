#include "voice/SpeechCapture.h"

#include "platform/fake/FakeAudioInput.h"
#include "platform/fake/FakeSpeechEngine.h"
#include "support/Log.h"

#include <QCoroTask>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace lumeno {
namespace {

// A square wave of this amplitude has it as its root mean square.
std::vector<float> squareWave(float amplitude, int count = 1600) {
    std::vector<float> samples(size_t(count), amplitude);
    for (size_t i = 1; i < samples.size(); i += 2)
        samples[i] = -amplitude;
    return samples;
}

float amplitudeAt(double decibels) {
    return float(std::pow(10.0, decibels / 20.0));
}

TEST(SpeechLevel, MapsMinus55To0AndMinus10To1OnTheRootMeanSquare) {
    EXPECT_NEAR(SpeechCapture::level(squareWave(amplitudeAt(-55))), 0.0f, 1e-4);
    EXPECT_NEAR(SpeechCapture::level(squareWave(amplitudeAt(-32.5))), 0.5f, 1e-4);
    EXPECT_NEAR(SpeechCapture::level(squareWave(amplitudeAt(-19))), 0.8f, 1e-4);
    EXPECT_NEAR(SpeechCapture::level(squareWave(amplitudeAt(-10))), 1.0f, 1e-4);

    // A sine's level follows its root mean square (3 dB under its peak), not the peak.
    std::vector<float> sine(1600);
    const double peak = amplitudeAt(-32.5) * std::sqrt(2.0);
    for (size_t i = 0; i < sine.size(); ++i)
        sine[i] = float(peak * std::sin(2 * M_PI * 440 * double(i) / 16000));
    EXPECT_NEAR(SpeechCapture::level(sine), 0.5f, 1e-3);
}

TEST(SpeechLevel, StaysBetween0And1WhateverTheBuffer) {
    EXPECT_EQ(SpeechCapture::level(squareWave(0)), 0.0f);
    EXPECT_EQ(SpeechCapture::level({}), 0.0f);
    EXPECT_EQ(SpeechCapture::level(squareWave(amplitudeAt(-80))), 0.0f);
    EXPECT_EQ(SpeechCapture::level(squareWave(1.0f)), 1.0f);
    EXPECT_EQ(SpeechCapture::level(squareWave(30.0f)), 1.0f);
    std::vector<float> broken = squareWave(0.1f);
    broken[7] = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(SpeechCapture::level(broken), 0.0f);
    broken[7] = std::numeric_limits<float>::infinity();
    EXPECT_EQ(SpeechCapture::level(broken), 0.0f);
}

// The error a call threw, or none.
QCoro::Task<std::optional<CaptureError>> errorOf(QCoro::Task<> call) {
    try {
        co_await call;
    } catch (const CaptureError& error) {
        co_return error;
    }
    co_return std::nullopt;
}

class SpeechCaptureTest : public ::testing::Test {
protected:
    SpeechCaptureTest() {
        capture.onTranscript = [this](const QString& text) { transcripts.append(text); };
        capture.onLevel = [this](float level) { levels.push_back(level); };
        capture.onInterruption = [this] { ++interruptions; };
    }

    std::optional<CaptureError> start(const QString& locale) {
        auto result = errorOf(capture.start({locale}, SpeechCapture::Engine::onDevice));
        EXPECT_TRUE(result.isReady()) << "the start is still waiting";
        return QCoro::waitFor(result);
    }

    QString stop() {
        auto result = capture.stop();
        EXPECT_TRUE(result.isReady()) << "the stop is still waiting";
        return QCoro::waitFor(result);
    }

    FakeAudioInput microphone;
    FakeSpeechEngine engine;
    SpeechCapture capture{microphone, engine};
    QStringList transcripts;
    std::vector<float> levels;
    int interruptions = 0;
};

TEST_F(SpeechCaptureTest, CapturesALiveTranscriptAndSettlesItOnStop) {
    capture.setHints({QStringLiteral("Ana Novak"), QStringLiteral("Bojan")});
    ASSERT_EQ(start(QStringLiteral("sl-SI")), std::nullopt);
    EXPECT_TRUE(microphone.isRecording());
    FakeSpeechSession& session = *engine.session();
    EXPECT_EQ(session.locale(), QStringLiteral("sl-SI"));
    EXPECT_EQ(session.hints(), (QStringList{QStringLiteral("Ana Novak"), QStringLiteral("Bojan")}));

    microphone.hear(0.3, amplitudeAt(-32.5));
    session.hearVolatile(QStringLiteral("Tell Ana"));
    session.hearFinal(QStringLiteral("Tell Ana yes,"));
    microphone.hear(0.2, amplitudeAt(-19));
    session.hearVolatile(QStringLiteral(" see you Friday"));

    EXPECT_EQ(stop(), QStringLiteral("Tell Ana yes, see you Friday"));
    EXPECT_EQ(transcripts, (QStringList{QStringLiteral("Tell Ana"), QStringLiteral("Tell Ana yes,"),
                                        QStringLiteral("Tell Ana yes, see you Friday"),
                                        QStringLiteral("Tell Ana yes, see you Friday")}));
    EXPECT_FALSE(microphone.isRecording());
    EXPECT_FALSE(capture.isCapturing());
    EXPECT_NEAR(capture.duration(), 0.5, 1e-9);
    EXPECT_NEAR(session.fedSeconds(), 0.5, 1e-9) << "every buffer reaches the recognizer";
    EXPECT_NEAR(capture.peakLevel(), 0.8f, 1e-4);
    ASSERT_EQ(levels.size(), 5u) << "one level per buffer";
    EXPECT_NEAR(levels.front(), 0.5f, 1e-4);
    EXPECT_NEAR(levels.back(), 0.8f, 1e-4);
}

TEST_F(SpeechCaptureTest, NextCaptureStartsFromNothing) {
    start(QStringLiteral("en-US"));
    microphone.hear(1.0, 0.3f);
    engine.session()->hearFinal(QStringLiteral("First"));
    stop();
    start(QStringLiteral("en-US"));
    microphone.hear(0.2, 0.01f);
    EXPECT_EQ(stop(), QString());
    EXPECT_NEAR(capture.duration(), 0.2, 1e-9);
    EXPECT_LT(capture.peakLevel(), 0.5f);
}

TEST_F(SpeechCaptureTest, ModelIsInstalledOnceAndRememberedPerLocale) {
    engine.setInstalled({});
    start(QStringLiteral("de-DE"));
    stop();
    start(QStringLiteral("de-DE"));
    stop();
    auto warmUp = errorOf(capture.prepared({QStringLiteral("en-GB")}));
    EXPECT_EQ(QCoro::waitFor(warmUp), std::nullopt);
    EXPECT_EQ(engine.installs(), (QStringList{QStringLiteral("de-DE"), QStringLiteral("en-GB")}));
    EXPECT_EQ(engine.preparationCount(), 2);
}

TEST_F(SpeechCaptureTest, AModelSeveralWaitedForIsReadyOnceInTheLog) {
    const auto log = std::make_shared<CapturingLogSink>();
    const std::shared_ptr<LogSink> previous = Log::setSink(log);
    engine.holdPreparations();
    std::vector<QCoro::Task<std::optional<CaptureError>>> warmUps;
    for (int caller = 0; caller < 3; ++caller)
        warmUps.push_back(errorOf(capture.prepared({QStringLiteral("en-GB")})));
    engine.releasePreparations();
    for (auto& warmUp : warmUps)
        EXPECT_EQ(QCoro::waitFor(warmUp), std::nullopt);
    auto again = errorOf(capture.prepared({QStringLiteral("en-GB")}));
    EXPECT_EQ(QCoro::waitFor(again), std::nullopt);
    Log::setSink(previous);
    EXPECT_EQ(log->lines().filter(QStringLiteral("Speech model ready")),
              QStringList{QStringLiteral("Speech model ready for en-GB")});
}

TEST_F(SpeechCaptureTest, LocaleWithoutAModelIsUnsupported) {
    const auto error = start(QStringLiteral("fr-FR"));
    EXPECT_EQ(error, CaptureError::languageUnsupported(QStringLiteral("fr")));
    EXPECT_EQ(error->localizedDescription(),
              QStringLiteral("Speech in French can't be transcribed on this computer."));
    EXPECT_EQ(microphone.startCount(), 0);
    EXPECT_EQ(engine.sessionCount(), 0);
}

TEST_F(SpeechCaptureTest, FailedInstallIsReportedAndTriedAgainNextTime) {
    engine.setInstalled({});
    engine.setInstallFailure(QStringLiteral("The Slovenian model couldn't be downloaded."));
    const auto error = start(QStringLiteral("sl-SI"));
    EXPECT_EQ(error, CaptureError::failed(QStringLiteral("The Slovenian model couldn't be downloaded.")));
    EXPECT_EQ(error->localizedDescription(), QStringLiteral("The Slovenian model couldn't be downloaded."));
    EXPECT_FALSE(microphone.isRecording());

    engine.setInstallFailure(std::nullopt);
    EXPECT_EQ(start(QStringLiteral("sl-SI")), std::nullopt);
    EXPECT_TRUE(microphone.isRecording());
}

TEST_F(SpeechCaptureTest, NoMicrophoneLeavesNoRecognizerRunning) {
    microphone.setAvailable(false);
    const auto error = start(QStringLiteral("en-US"));
    EXPECT_EQ(error, CaptureError::microphoneUnavailable());
    EXPECT_FALSE(error->localizedDescription().isEmpty());
    EXPECT_TRUE(engine.session()->isCancelled());
    EXPECT_FALSE(capture.isCapturing());
}

TEST_F(SpeechCaptureTest, CancelWhileTheModelIsReadiedNeverOpensTheMicrophone) {
    engine.holdPreparations();
    auto starting = errorOf(capture.start({QStringLiteral("en-US")}, SpeechCapture::Engine::onDevice));
    EXPECT_FALSE(starting.isReady());
    capture.cancel();
    engine.releasePreparations();
    ASSERT_TRUE(starting.isReady());
    EXPECT_EQ(QCoro::waitFor(starting), std::nullopt);
    EXPECT_EQ(microphone.startCount(), 0);
    EXPECT_EQ(engine.sessionCount(), 0);
    EXPECT_FALSE(capture.isCapturing());
}

TEST_F(SpeechCaptureTest, CancelWhileStoppingGivesNoTranscript) {
    start(QStringLiteral("en-US"));
    engine.session()->hearFinal(QStringLiteral("Never mind"));
    engine.holdFinishes();
    auto stopping = capture.stop();
    EXPECT_FALSE(stopping.isReady());
    capture.cancel();
    ASSERT_TRUE(stopping.isReady());
    EXPECT_EQ(QCoro::waitFor(stopping), QString());
    EXPECT_TRUE(capture.finalized().isEmpty());
    EXPECT_TRUE(capture.volatileText().isEmpty());
}

TEST_F(SpeechCaptureTest, CancelDropsTheCaptureAndItsTexts) {
    start(QStringLiteral("en-US"));
    FakeSpeechSession& session = *engine.session();
    session.hearFinal(QStringLiteral("Hello"));
    session.hearVolatile(QStringLiteral(" the"));
    const quint64 generation = capture.generation();
    capture.cancel();
    EXPECT_EQ(capture.generation(), generation + 1);
    EXPECT_TRUE(session.isCancelled());
    EXPECT_FALSE(microphone.isRecording());
    EXPECT_TRUE(capture.finalized().isEmpty());
    EXPECT_TRUE(capture.volatileText().isEmpty());
    microphone.hear(0.5, 0.5f);
    EXPECT_EQ(transcripts.size(), 2);
    EXPECT_TRUE(levels.empty());
}

TEST_F(SpeechCaptureTest, TeardownStopsWithoutATranscript) {
    start(QStringLiteral("en-US"));
    engine.session()->hearFinal(QStringLiteral("Hello"));
    capture.teardown();
    EXPECT_TRUE(engine.session()->isCancelled());
    EXPECT_FALSE(microphone.isRecording());
    EXPECT_FALSE(engine.session()->isFinished()) << "nothing was settled";

    start(QStringLiteral("en-US"));
    engine.session()->hearFinal(QStringLiteral("Hello again"));
    engine.holdFinishes();
    auto stopping = capture.stop();
    capture.teardown();
    ASSERT_TRUE(stopping.isReady());
    EXPECT_EQ(QCoro::waitFor(stopping), QString());
}

TEST_F(SpeechCaptureTest, MicrophoneGoingAwayIsReportedOnce) {
    start(QStringLiteral("en-US"));
    microphone.interrupt();
    microphone.interrupt();
    EXPECT_EQ(interruptions, 1);
}

} // namespace
} // namespace lumeno
