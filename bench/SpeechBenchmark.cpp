// On-device transcription with PocketSphinx, through the program's own path: a microphone playing a WAV file,
// SpeechCapture, PocketSphinxEngine, one decoder kept from dictation to dictation. Each recording is one
// dictation, the key held until its audio has played.
//
// Two sets of voices:
//   real       recordings of real people in Debian's pocketsphinx-testdata: the cards set and those listed in
//              bench/speech/real-voices.txt, played at real-time pace (LUMENO_SPEECH_PACE, 1 unless set).
//              The timings come from these.
//   synthetic  the dictations of bench/speech/dictations.txt spoken by espeak-ng (bench/speech/make-corpus.sh),
//              played as fast as they are decoded (LUMENO_SPEECH_SYNTHETIC_PACE, 0 unless set): the words
//              come out the same at any pace, and the corpus is long. Played at a pace, they are timed too.
//
// Counters, per set of decoder settings:
//   real_wer_pct         word error rate on the real voices (substitutions, insertions and deletions per word)
//   cards_wer_pct        the same on the cards set alone
//   synthetic_wer_pct    word error rate on the synthetic voices
//   names_heard_pct      how many names of the synthetic dictations came out spelled right (with name_hints, the
//                        names of bench/speech/people.txt are the recognizer's hints, as the person cards give them)
//   finish_ms_min/median/max  from stop() to the transcript, on the voices played at a pace (what the user
//                        waits for)
//   cpu_per_audio_s      CPU time per second of that audio: the share of one core taken while listening
//   model_mb             memory the loaded model takes; resident_mb: the whole process once it is loaded
//   growth_mb            memory gained between the 16th and the last synthetic dictation (flat when nothing leaks)
//
// The recognizer's chatter and what each real recording was heard as go to standard error.
// LUMENO_SPEECH_FLAGS ("-maxwpf 20 -fwdflat yes"), with LUMENO_SPEECH_VOCABULARY and LUMENO_SPEECH_HINT_SHARE,
// adds a run of those settings, for trying others.
#include "platform/linux/harness/SpeechTrial.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <unistd.h>

namespace lumeno {
namespace {

using speech::Recording;

double environment(const char* name, double fallback) {
    bool ok = false;
    const double value = qEnvironmentVariable(name).toDouble(&ok);
    return ok ? value : fallback;
}

QStringList lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

const std::vector<Recording>& realVoices() {
    static QTemporaryDir scratch;
    static const std::vector<Recording> all = [] {
        std::vector<Recording> found = speech::cards();
        for (const Recording& recording :
             speech::listed(QStringLiteral(LUMENO_SPEECH_REAL_VOICES), QDir(scratch.path())))
            found.push_back(recording);
        return found;
    }();
    return all;
}

const std::vector<Recording>& syntheticVoices() {
    static const std::vector<Recording> all =
        speech::spoken(QStringLiteral(LUMENO_SPEECH_CORPUS), QStringLiteral(LUMENO_SPEECH_DICTATIONS));
    return all;
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
    double percent() const { return 100.0 * errors / std::max(1, words); }
    void add(const QStringList& said, const QString& heard) {
        errors += speech::wordErrors(said, speech::words(heard));
        words += int(said.size());
    }
};

void run(benchmark::State& state, const PocketSphinxDecoder::Options& options, bool hinted, bool restarted) {
    if (realVoices().empty() || syntheticVoices().empty()) {
        state.SkipWithError("needs pocketsphinx-en-us, pocketsphinx-testdata and the spoken corpus (espeak-ng)");
        return;
    }
    const QStringList people = lines(QStringLiteral(LUMENO_SPEECH_PEOPLE));
    const QStringList hints = hinted ? people : QStringList();
    const QStringList nameWords = speech::words(people.join(QLatin1Char(' ')));
    Tally real, cards, synthetic;
    int names = 0, namesHeard = 0;
    double audioSeconds = 0, cpuSeconds = 0, modelMegabytes = 0, residentAfterLoad = 0, growthMegabytes = 0;
    int dictations = 0;
    std::vector<double> finishMs;
    for (auto _ : state) {
        QTemporaryDir support;
        if (restarted) {
            speech::SpeechTrial earlierRun(options, 0, support.path());
            earlierRun.prepare();
            for (const Recording& recording : realVoices())
                earlierRun.dictate(recording, hints);
        }
        malloc_trim(0); // what the previous run's decoder freed goes back, or the new one reuses it unseen
        const double before = residentMegabytes();
        speech::SpeechTrial realPace(options, environment("LUMENO_SPEECH_PACE", 1), support.path());
        if (const std::optional<QString> failure = realPace.prepare()) {
            state.SkipWithError(failure->toUtf8().constData());
            return;
        }
        residentAfterLoad = residentMegabytes();
        modelMegabytes = residentAfterLoad - before;
        const auto timed = [&](const speech::Heard& heard) {
            finishMs.push_back(heard.finishMs);
            cpuSeconds += heard.cpuSeconds;
            audioSeconds += heard.audioSeconds;
        };
        for (const Recording& recording : realVoices()) {
            const speech::Heard heard = realPace.dictate(recording, hints);
            std::fprintf(stderr, "  %-24s heard \"%s\"\n", qPrintable(recording.name), qPrintable(heard.transcript));
            timed(heard);
            if (recording.said.isEmpty())
                continue;
            real.add(recording.said, heard.transcript);
            if (recording.name.startsWith(QLatin1String("cards/")))
                cards.add(recording.said, heard.transcript);
        }
        const double syntheticPace = environment("LUMENO_SPEECH_SYNTHETIC_PACE", 0);
        speech::SpeechTrial synthesized(options, syntheticPace);
        synthesized.prepare();
        double warm = 0;
        for (const Recording& recording : syntheticVoices()) {
            const speech::Heard dictated = synthesized.dictate(recording, hints);
            if (++dictations == 16)
                warm = residentMegabytes();
            if (syntheticPace > 0)
                timed(dictated);
            const QString& heard = dictated.transcript;
            synthetic.add(recording.said, heard);
            const QStringList heardWords = speech::words(heard);
            for (const QString& word : recording.said) {
                names += nameWords.contains(word);
                namesHeard += nameWords.contains(word) && heardWords.contains(word);
            }
        }
        growthMegabytes = residentMegabytes() - warm;
    }
    std::sort(finishMs.begin(), finishMs.end());
    state.counters["growth_mb"] = growthMegabytes;
    state.counters["real_wer_pct"] = real.percent();
    state.counters["cards_wer_pct"] = cards.percent();
    state.counters["synthetic_wer_pct"] = synthetic.percent();
    state.counters["names_heard_pct"] = 100.0 * namesHeard / std::max(1, names);
    state.counters["finish_ms_min"] = finishMs.front();
    state.counters["finish_ms_median"] = finishMs[finishMs.size() / 2];
    state.counters["finish_ms_max"] = finishMs.back();
    state.counters["cpu_per_audio_s"] = cpuSeconds / std::max(0.001, audioSeconds);
    state.counters["model_mb"] = modelMegabytes;
    state.counters["resident_mb"] = residentAfterLoad;
}

// Arguments: settings (0: the package's defaults, 1: those dictation uses), whether the names of the person
// cards are given as hints, and whether the program starts with the view of the microphone an earlier run
// kept (that run heard the same recordings: what a user's own microphone teaches it, at best).
void BM_Dictations(benchmark::State& state) {
    run(state, state.range(0) == 0 ? PocketSphinxDecoder::packageDefaults() : PocketSphinxDecoder::forDictation(),
        state.range(1) != 0, state.range(2) != 0);
}
BENCHMARK(BM_Dictations)
    ->ArgNames({"dictation_settings", "name_hints", "restarted"})
    ->Args({0, 0, 0})
    ->Args({1, 0, 0})
    ->Args({1, 1, 0})
    ->Args({1, 0, 1})
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

// The settings of LUMENO_SPEECH_FLAGS and its companions, over the dictation ones; skipped when it is not set.
void BM_TriedSettings(benchmark::State& state) {
    if (!qEnvironmentVariableIsSet("LUMENO_SPEECH_FLAGS")) {
        state.SkipWithError("LUMENO_SPEECH_FLAGS is not set");
        return;
    }
    PocketSphinxDecoder::Options options = PocketSphinxDecoder::forDictation();
    options.flags.clear();
    const QStringList flags = qEnvironmentVariable("LUMENO_SPEECH_FLAGS").split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (qsizetype i = 0; i + 1 < flags.size(); i += 2)
        options.flags.emplace_back(flags[i], flags[i + 1]);
    options.vocabulary = int(environment("LUMENO_SPEECH_VOCABULARY", options.vocabulary));
    options.hintShare = float(environment("LUMENO_SPEECH_HINT_SHARE", options.hintShare));
    run(state, options, state.range(0) != 0, false);
}
BENCHMARK(BM_TriedSettings)->ArgNames({"name_hints"})->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->Iterations(1);

void BM_LoadEnglishModel(benchmark::State& state) {
    for (auto _ : state) {
        speech::SpeechTrial trial(PocketSphinxDecoder::forDictation(), 1);
        if (const std::optional<QString> failure = trial.prepare()) {
            state.SkipWithError(failure->toUtf8().constData());
            return;
        }
    }
}
BENCHMARK(BM_LoadEnglishModel)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace lumeno

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv); // the engine hands its results to the main thread's event loop
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
