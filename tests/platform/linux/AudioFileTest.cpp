#include "platform/linux/AudioResampler.h"
#include "platform/linux/WavFile.h"
#include "platform/linux/WavFileAudioInput.h"
#include "support/ManualScheduler.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace lumeno {
namespace {

QByteArray chunk(const char* id, const QByteArray& body, std::optional<quint32> declaredSize = std::nullopt) {
    QByteArray bytes(id, 4);
    const quint32 size = declaredSize.value_or(quint32(body.size()));
    bytes.append(reinterpret_cast<const char*>(&size), 4); // the tests run little-endian, as WAV is
    bytes.append(body);
    if (body.size() % 2)
        bytes.append('\0');
    return bytes;
}

QByteArray format(quint16 encoding, quint16 channels, quint32 rate, quint16 bits) {
    QByteArray body(16, '\0');
    qToLittleEndian<quint16>(encoding, body.data());
    qToLittleEndian<quint16>(channels, body.data() + 2);
    qToLittleEndian<quint32>(rate, body.data() + 4);
    qToLittleEndian<quint32>(rate * channels * bits / 8, body.data() + 8);
    qToLittleEndian<quint16>(channels * bits / 8, body.data() + 12);
    qToLittleEndian<quint16>(bits, body.data() + 14);
    return chunk("fmt ", body);
}

QByteArray samples(std::initializer_list<qint16> values) {
    QByteArray body;
    for (const qint16 value : values) {
        char bytes[2];
        qToLittleEndian<qint16>(value, bytes);
        body.append(bytes, 2);
    }
    return body;
}

QByteArray wave(const QByteArray& chunks) {
    return chunk("RIFF", "WAVE" + chunks);
}

TEST(WavFileTest, StereoIsAveragedToMonoAtTheFilesRate) {
    // A LIST chunk of odd length before the data: chunks are padded to even sizes.
    const QByteArray file = wave(format(1, 2, 22050, 16) + chunk("LIST", "abc") +
                                 chunk("data", samples({16384, 0, -32768, -32768, 32767, 32767})));
    const std::optional<AudioBuffer> audio = WavFile::parse(file);
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->sampleRate, 22050);
    ASSERT_EQ(audio->samples.size(), 3u);
    EXPECT_FLOAT_EQ(audio->samples[0], 0.25f);
    EXPECT_FLOAT_EQ(audio->samples[1], -1.0f);
    EXPECT_NEAR(audio->samples[2], 1.0f, 0.0001);
}

TEST(WavFileTest, AStreamedFileWithoutItsSizeIsReadToTheEnd) {
    const QByteArray file = wave(format(1, 1, 16000, 16) + chunk("data", samples({1, 2, 3}), 0xFFFFFFFF));
    const std::optional<AudioBuffer> audio = WavFile::parse(file);
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->samples.size(), 3u);
}

TEST(WavFileTest, WhatIsNotSixteenBitPcmIsRefused) {
    EXPECT_FALSE(WavFile::parse(wave(format(3, 1, 16000, 32) + chunk("data", QByteArray(8, '\0')))));
    EXPECT_FALSE(WavFile::parse(wave(format(1, 1, 16000, 8) + chunk("data", QByteArray(8, '\0')))));
    EXPECT_FALSE(WavFile::parse(wave(chunk("data", samples({1, 2})))) ) << "data before its format";
    EXPECT_FALSE(WavFile::parse("RIFF\x04\0\0\0AVI "));
    EXPECT_FALSE(WavFile::parse(QByteArray()));
    EXPECT_FALSE(WavFile::read(QStringLiteral("/nonexistent/speech.wav")));
}

AudioBuffer tone(double rate, double seconds, double frequency = 440) {
    AudioBuffer buffer{std::vector<float>(size_t(rate * seconds)), rate};
    for (size_t i = 0; i < buffer.samples.size(); ++i)
        buffer.samples[i] = float(0.5 * std::sin(2 * std::numbers::pi * frequency * double(i) / rate));
    return buffer;
}

TEST(AudioResamplerTest, ResamplingInPiecesGivesWhatResamplingAtOnceGives) {
    const AudioBuffer whole = tone(44100, 0.5);
    const std::vector<qint16> atOnce = AudioResampler(16000).convert(whole);
    AudioResampler streaming(16000);
    std::vector<qint16> inPieces;
    for (size_t start = 0; start < whole.samples.size(); start += 1000) {
        const size_t end = std::min(whole.samples.size(), start + 1000);
        const std::vector<qint16> piece = streaming.convert(
            {{whole.samples.begin() + qsizetype(start), whole.samples.begin() + qsizetype(end)}, whole.sampleRate});
        inPieces.insert(inPieces.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(inPieces, atOnce);
    // Half a second at 16 kHz, less the last sample, which waits for the next buffer.
    EXPECT_NEAR(double(atOnce.size()), 8000, 2);
    // The tone keeps its level: a peak of half of full scale.
    EXPECT_NEAR(*std::max_element(atOnce.begin(), atOnce.end()), 16383, 200);
}

TEST(AudioResamplerTest, AudioAtTheTargetRateIsOnlyConvertedAndClipped) {
    AudioResampler resampler(16000);
    EXPECT_EQ(resampler.convert({{0.0f, 0.5f, -1.0f, 2.0f, -3.0f}, 16000}),
              (std::vector<qint16>{0, 16384, -32767, 32767, -32768}));
    EXPECT_TRUE(resampler.convert({{}, 48000}).empty());
}

class WavFileAudioInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // 0.2 s at 16 kHz: three full buffers of 64 ms and a short one.
        file.write(wave(format(1, 1, 16000, 16) + chunk("data", QByteArray(3200 * 2, '\x10'))));
    }

    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("speech.wav"));
    ManualClock clock;
    ManualScheduler scheduler{clock};
};

TEST_F(WavFileAudioInputTest, TheFileArrivesInBuffersAtItsOwnPaceAndThenFallsSilent) {
    WavFileAudioInput input(path, scheduler);
    std::vector<size_t> sizes;
    ASSERT_TRUE(input.start([&](const AudioBuffer& buffer) { sizes.push_back(buffer.samples.size()); }, [] {}));
    EXPECT_TRUE(sizes.empty()) << "nothing before the event loop turns";
    scheduler.runDue();
    EXPECT_EQ(sizes, (std::vector<size_t>{1024}));
    scheduler.advance(0.064);
    EXPECT_EQ(sizes.size(), 2u);
    scheduler.advance(1.0);
    EXPECT_EQ(sizes, (std::vector<size_t>{1024, 1024, 1024, 128}));
    EXPECT_EQ(scheduler.pendingCount(), 0);
}

TEST_F(WavFileAudioInputTest, StoppingInsideADeliveryEndsIt) {
    WavFileAudioInput input(path, scheduler, 0);
    int buffers = 0;
    ASSERT_TRUE(input.start(
        [&](const AudioBuffer&) {
            if (++buffers == 2)
                input.stop();
        },
        [] {}));
    scheduler.advance(1.0);
    EXPECT_EQ(buffers, 2);
    EXPECT_EQ(scheduler.pendingCount(), 0);
    // Started again, it plays from the beginning.
    ASSERT_TRUE(input.start([&](const AudioBuffer&) { ++buffers; }, [] {}));
    scheduler.advance(1.0);
    EXPECT_EQ(buffers, 6);
}

TEST_F(WavFileAudioInputTest, AFileThatCannotBeReadIsNoMicrophoneAndIsNamed) {
    const QString missing = folder.filePath(QStringLiteral("missing.wav"));
    WavFileAudioInput absent(missing, scheduler);
    EXPECT_FALSE(absent.start([](const AudioBuffer&) {}, [] {}));
    EXPECT_EQ(scheduler.pendingCount(), 0);
    EXPECT_EQ(absent.whyNotStarted(), QStringLiteral("The audio file %1 (LUMENO_AUDIO_FILE) doesn't exist.").arg(missing));

    const QString text = folder.filePath(QStringLiteral("notes.txt"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a recording");
    file.close();
    WavFileAudioInput unreadable(text, scheduler);
    EXPECT_FALSE(unreadable.start([](const AudioBuffer&) {}, [] {}));
    EXPECT_EQ(unreadable.whyNotStarted(),
              QStringLiteral("The audio file %1 (LUMENO_AUDIO_FILE) isn't a readable 16-bit PCM WAV file.").arg(text));

    WavFileAudioInput playing(path, scheduler);
    EXPECT_TRUE(playing.start([](const AudioBuffer&) {}, [] {}));
    EXPECT_TRUE(playing.whyNotStarted().isEmpty());
}

} // namespace
} // namespace lumeno
