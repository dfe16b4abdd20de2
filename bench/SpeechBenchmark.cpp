// On-device transcription with PocketSphinx: loading the English model, and decoding a spoken sentence
// (espeak-ng) as SpeechCapture feeds it, in buffers of 64 ms. The real-time factor is the decoding time
// over the length of the audio.
#include "platform/linux/AudioResampler.h"
#include "platform/linux/PocketSphinxDecoder.h"
#include "platform/linux/PocketSphinxModel.h"
#include "platform/linux/WavFile.h"

#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace lumeno {
namespace {

std::optional<PocketSphinxModel> englishModel() {
    for (const PocketSphinxModel& model : PocketSphinxModel::installed(PocketSphinxModel::debianRoot()))
        if (model.locale == QLatin1String("en-US"))
            return model;
    return std::nullopt;
}

// Twelve seconds of dictation, spoken once per run.
const std::optional<AudioBuffer>& dictation() {
    static const std::optional<AudioBuffer> audio = [] () -> std::optional<AudioBuffer> {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("dictation.wav"));
        QProcess espeak;
        espeak.start(QStringLiteral("espeak-ng"),
                     {QStringLiteral("-v"), QStringLiteral("en-us"), QStringLiteral("-s"), QStringLiteral("150"),
                      QStringLiteral("-w"), path,
                      QStringLiteral("Thanks for the update. Please send the report tomorrow morning, and tell Ana "
                                     "that the review moves to Friday afternoon. I will bring the budget numbers "
                                     "and the slides for the team meeting.")});
        if (!espeak.waitForFinished(30000) || espeak.exitCode() != 0)
            return std::nullopt;
        return WavFile::read(path);
    }();
    return audio;
}

void BM_LoadEnglishModel(benchmark::State& state) {
    const std::optional<PocketSphinxModel> model = englishModel();
    if (!model) {
        state.SkipWithError("pocketsphinx-en-us is not installed");
        return;
    }
    for (auto _ : state) {
        QString error;
        benchmark::DoNotOptimize(PocketSphinxDecoder::load(*model, error));
    }
}
BENCHMARK(BM_LoadEnglishModel)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TranscribeDictation(benchmark::State& state) {
    const std::optional<PocketSphinxModel> model = englishModel();
    if (!model || !dictation()) {
        state.SkipWithError("needs pocketsphinx-en-us and espeak-ng");
        return;
    }
    QString error;
    const std::unique_ptr<PocketSphinxDecoder> decoder = PocketSphinxDecoder::load(*model, error);
    const AudioBuffer& audio = *dictation();
    const auto bufferFrames = size_t(audio.sampleRate * 0.064);
    for (auto _ : state) {
        AudioResampler resampler(16000);
        decoder->startUtterance();
        for (size_t start = 0; start < audio.samples.size(); start += bufferFrames) {
            const size_t end = std::min(audio.samples.size(), start + bufferFrames);
            const AudioBuffer piece{{audio.samples.begin() + qsizetype(start), audio.samples.begin() + qsizetype(end)},
                                    audio.sampleRate};
            benchmark::DoNotOptimize(decoder->process(resampler.convert(piece)));
        }
        benchmark::DoNotOptimize(decoder->endUtterance());
    }
    state.counters["audio_seconds"] = audio.seconds();
    state.counters["real_time_factor"] =
        benchmark::Counter(audio.seconds() * double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TranscribeDictation)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace lumeno

BENCHMARK_MAIN();
