// On-device transcription with PocketSphinx, measured on dictations of the kind users give (bench/speech/
// dictations.txt), spoken at build time by espeak-ng in two voices at two speeds (bench/speech/make-corpus.sh).
// Each dictation is fed as SpeechCapture feeds it, in buffers of 64 ms, and settled when its audio ends, as
// when the user speaks until the key comes up (a pause before it lets the decoder settle the words early).
//
// Counters, per set of decoder settings:
//   word_error_pct     word error rate over the corpus (substitutions, insertions and deletions per spoken word)
//   names_heard_pct    how many of the names in the dictations came out spelled right (bench/speech/people.txt
//                      holds the person cards; with name_hints, their names are the recognizer's hints)
//   cpu_per_audio_s    decoding CPU time per second of audio: the share of one core it takes while listening
//   finish_ms_median   time to settle the words once the audio has stopped (what the user waits for)
//   finish_ms_max
//   model_mb           memory the loaded model takes
//   growth_mb          memory gained between the 16th and the last dictation (flat when nothing leaks)
#include "platform/linux/AudioResampler.h"
#include "platform/linux/PocketSphinxDecoder.h"
#include "platform/linux/PocketSphinxModel.h"
#include "platform/linux/WavFile.h"
#include "support/Text.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <malloc.h>
#include <unistd.h>

namespace lumeno {
namespace {

std::optional<PocketSphinxModel> englishModel() {
    for (const PocketSphinxModel& model : PocketSphinxModel::installed(PocketSphinxModel::debianRoot()))
        if (model.locale == QLatin1String("en-US"))
            return model;
    return std::nullopt;
}

QStringList lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Lower-case words without punctuation: "I'll send it." -> "i'll", "send", "it".
QStringList words(const QString& text) {
    QString plain = Text::lowercased(text);
    for (QChar& character : plain)
        if (!character.isLetter() && character != QLatin1Char('\''))
            character = QLatin1Char(' ');
    return plain.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Substitutions, insertions and deletions that turn `heard` into `said`.
int wordErrors(const QStringList& said, const QStringList& heard) {
    std::vector<int> row(size_t(heard.size()) + 1);
    for (size_t column = 0; column < row.size(); ++column)
        row[column] = int(column);
    for (qsizetype i = 1; i <= said.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= heard.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)] = std::min({above + 1, row[size_t(j - 1)] + 1, diagonal + (said[i - 1] != heard[j - 1])});
            diagonal = above;
        }
    }
    return row.back();
}

struct Dictation {
    QStringList said;
    AudioBuffer audio;
};

const std::vector<Dictation>& corpus() {
    static const std::vector<Dictation> dictations = [] {
        std::vector<Dictation> all;
        const QStringList texts = lines(QStringLiteral(LUMENO_SPEECH_DICTATIONS));
        const QDir folder(QStringLiteral(LUMENO_SPEECH_CORPUS));
        for (const QString& file : folder.entryList({QStringLiteral("*.wav")}, QDir::Files, QDir::Name)) {
            const qsizetype line = file.section(QLatin1Char('-'), 0, 0).toInt();
            const std::optional<AudioBuffer> audio = WavFile::read(folder.filePath(file));
            if (line >= 1 && line <= texts.size() && audio)
                all.push_back({words(texts[line - 1]), *audio});
        }
        return all;
    }();
    return dictations;
}

// The names on the person cards, as the reply loop hands them to the recognizer.
QStringList people() {
    return lines(QStringLiteral(LUMENO_SPEECH_PEOPLE));
}

double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double residentMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

struct Tally {
    int errors = 0;
    int words = 0;
    int namesHeard = 0;
    int names = 0;
    double audioSeconds = 0;
    double cpuSeconds = 0;
    std::vector<double> finishMs;
};

void decode(PocketSphinxDecoder& decoder, const Dictation& dictation, const QStringList& hints,
            const QStringList& nameWords, Tally& tally) {
    const auto bufferFrames = size_t(dictation.audio.sampleRate * 0.064);
    const std::vector<float>& samples = dictation.audio.samples;
    AudioResampler resampler(16000);
    QString heard;
    const double cpuBefore = threadSeconds();
    decoder.learn(hints);
    decoder.startDictation();
    for (size_t start = 0; start < samples.size(); start += bufferFrames) {
        const size_t end = std::min(samples.size(), start + bufferFrames);
        const AudioBuffer piece{{samples.begin() + qsizetype(start), samples.begin() + qsizetype(end)},
                                dictation.audio.sampleRate};
        const PocketSphinxDecoder::Progress progress = decoder.process(resampler.convert(piece));
        if (progress.ended)
            heard += QLatin1Char(' ') + *progress.ended;
    }
    QElapsedTimer finishing;
    finishing.start();
    heard += QLatin1Char(' ') + decoder.endUtterance();
    tally.finishMs.push_back(double(finishing.nsecsElapsed()) / 1e6);
    tally.cpuSeconds += threadSeconds() - cpuBefore;
    tally.audioSeconds += dictation.audio.seconds();

    const QStringList heardWords = words(heard);
    tally.errors += wordErrors(dictation.said, heardWords);
    tally.words += int(dictation.said.size());
    for (const QString& word : dictation.said) {
        if (!nameWords.contains(word))
            continue;
        ++tally.names;
        tally.namesHeard += heardWords.contains(word);
    }
}

// Arguments: settings (0: the package's defaults, 1: those dictation uses), and whether the names on the person
// cards are given as hints.
void BM_Dictations(benchmark::State& state) {
    const std::optional<PocketSphinxModel> model = englishModel();
    if (!model || corpus().empty()) {
        state.SkipWithError("needs pocketsphinx-en-us and the spoken corpus (espeak-ng)");
        return;
    }
    const PocketSphinxDecoder::Options options =
        state.range(0) == 0 ? PocketSphinxDecoder::packageDefaults() : PocketSphinxDecoder::forDictation();
    const QStringList hints = state.range(1) ? people() : QStringList();
    const QStringList nameWords = words(people().join(QLatin1Char(' ')));
    Tally tally;
    double modelMegabytes = 0;
    double growthMegabytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0); // what the previous run's decoder freed goes back, or the new one reuses it unseen
        const double before = residentMegabytes();
        QString error;
        const std::unique_ptr<PocketSphinxDecoder> decoder = PocketSphinxDecoder::load(*model, error, options);
        modelMegabytes = residentMegabytes() - before;
        state.ResumeTiming();
        double warm = 0;
        for (const Dictation& dictation : corpus()) {
            decode(*decoder, dictation, hints, nameWords, tally);
            if (tally.finishMs.size() == 16)
                warm = residentMegabytes();
        }
        growthMegabytes = residentMegabytes() - warm;
    }
    std::sort(tally.finishMs.begin(), tally.finishMs.end());
    state.counters["dictations"] = double(corpus().size());
    state.counters["word_error_pct"] = 100.0 * tally.errors / std::max(1, tally.words);
    state.counters["names_heard_pct"] = 100.0 * tally.namesHeard / std::max(1, tally.names);
    state.counters["cpu_per_audio_s"] = tally.cpuSeconds / std::max(0.001, tally.audioSeconds);
    state.counters["finish_ms_median"] = tally.finishMs[tally.finishMs.size() / 2];
    state.counters["finish_ms_max"] = tally.finishMs.back();
    state.counters["model_mb"] = modelMegabytes;
    state.counters["growth_mb"] = growthMegabytes;
}
BENCHMARK(BM_Dictations)
    ->ArgNames({"dictation_settings", "name_hints"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

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

} // namespace
} // namespace lumeno

BENCHMARK_MAIN();
