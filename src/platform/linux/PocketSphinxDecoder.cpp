#include "platform/linux/PocketSphinxDecoder.h"

#include "platform/linux/PocketSphinxChannelFile.h"
#include "platform/linux/PocketSphinxVocabulary.h"
#include "support/Log.h"
#include "support/Text.h"

#include <pocketsphinx.h>
#include <sphinxbase/cmn.h>
#include <sphinxbase/feat.h>
#include <sphinxbase/ngram_model.h>

#include <QFile>

#include <QSet>

#include <optional>
#include <type_traits>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace lumeno {

static_assert(std::is_same_v<mfcc_t, float>, "the cepstral mean is kept as floats");

PocketSphinxDecoder::Options PocketSphinxDecoder::forDictation() {
    // Measured on recordings of real people through the program's own path (bench/SpeechBenchmark.cpp). The
    // 20,000 likeliest words hear them as well as the whole dictionary, in little more than half its memory;
    // 10,000 left out words people say ("spades"). One search pass hears the real voices as well as two and
    // leaves almost nothing to do once the key is up; the second pass, re-decoding the last stretch, turned a
    // whole sentence played through the sound server into other words ("the you are are you"). Twenty words
    // ending in each frame: five left the search no way through at times, and the final came back empty.
    return {{{QStringLiteral("-fwdflat"), QStringLiteral("no")}, {QStringLiteral("-maxwpf"), QStringLiteral("20")}}, 20000};
}

namespace {

// The name pocketsphinx gives the search it builds from the configured language model. Asked of it
// instead (ps_get_search), it leaks the iterator it looked the name up with, on every call.
constexpr const char* searchName = "_default";

// A file that lives in memory only, for the library to read as it reads files; closed when it goes.
class MemoryFile {
public:
    explicit MemoryFile(const QByteArray& contents) : descriptor_(memfd_create("lumeno-vocabulary", MFD_CLOEXEC)) {
        if (descriptor_ >= 0 && write(descriptor_, contents.constData(), size_t(contents.size())) != contents.size()) {
            close(descriptor_);
            descriptor_ = -1;
        }
    }
    ~MemoryFile() {
        if (descriptor_ >= 0)
            close(descriptor_);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool isOpen() const { return descriptor_ >= 0; }
    QByteArray path() const { return "/proc/self/fd/" + QByteArray::number(descriptor_); }

private:
    int descriptor_;
};

} // namespace

std::unique_ptr<PocketSphinxDecoder> PocketSphinxDecoder::load(const PocketSphinxModel& model, QString& error,
                                                               const Options& options) {
    std::optional<MemoryFile> vocabulary;
    if (options.vocabulary > 0) {
        vocabulary.emplace(PocketSphinxVocabulary::likeliest(model, options.vocabulary, error));
        if (!error.isEmpty())
            return nullptr;
        if (!vocabulary->isOpen()) {
            error = QStringLiteral("The speech model for %1 couldn't be loaded.").arg(model.locale);
            return nullptr;
        }
    }
    std::vector<QByteArray> arguments = {"-hmm", QFile::encodeName(model.acoustic), "-lm",
                                         QFile::encodeName(model.languageModel), "-dict",
                                         vocabulary ? vocabulary->path() : QFile::encodeName(model.dictionary),
                                         "-logfn", "/dev/null"};
    for (const auto& [name, value] : options.flags) {
        arguments.push_back(name.toUtf8());
        arguments.push_back(value.toUtf8());
    }
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    cmd_ln_t* config = cmd_ln_parse_r(nullptr, ps_args(), int32(argv.size()), argv.data(), TRUE);
    if (!config) {
        error = QStringLiteral("The speech model for %1 is incomplete.").arg(model.locale);
        return nullptr;
    }
    ps_decoder_t* decoder = ps_init(config);
    if (!decoder) {
        cmd_ln_free_r(config);
        error = QStringLiteral("The speech model for %1 couldn't be loaded.").arg(model.locale);
        return nullptr;
    }
    // Choosing the vocabulary read the whole dictionary and language model once more; the heap they
    // left behind goes back to the system rather than staying with the process for its lifetime.
    malloc_trim(0);
    return std::unique_ptr<PocketSphinxDecoder>(new PocketSphinxDecoder(decoder, config, model.dictionary, options));
}

PocketSphinxDecoder::PocketSphinxDecoder(ps_decoder_s* decoder, cmd_ln_s* config, QString dictionary,
                                         const Options& options)
    : decoder_(decoder), config_(config), dictionary_(std::move(dictionary)),
      languageModels_(ngram_model_retain(ps_get_lm(decoder_, searchName))), options_(options) {
    ngram_model_set_iter_t* models = ngram_model_set_iter(languageModels_);
    const char* name = nullptr;
    ngram_model_set_iter_model(models, &name);
    modelName_ = name;
    ngram_model_set_iter_free(models);
}

PocketSphinxDecoder::~PocketSphinxDecoder() {
    if (inUtterance_)
        ps_end_utt(decoder_);
    ps_free(decoder_);
    ngram_model_free(languageModels_);
    cmd_ln_free_r(config_);
}

bool PocketSphinxDecoder::knows(const QString& word) {
    char* phones = ps_lookup_word(decoder_, word.toUtf8().constData());
    const bool known = phones != nullptr;
    free(phones);
    return known;
}

void PocketSphinxDecoder::learn(const QStringList& hints) {
    // The dictionary spells words in lower case.
    QSet<QString> words;
    for (const QString& hint : hints)
        for (const QString& word : Text::lowercased(hint).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            words.insert(word);
    const bool added = add(words);
    QStringList sayable;
    for (const QString& word : std::as_const(words))
        if (knows(word))
            sayable.push_back(word);
    sayable.sort();
    if (!added && sayable == favoured_)
        return;
    favour(sayable);
}

bool PocketSphinxDecoder::add(const QSet<QString>& words) {
    QSet<QString> unknown;
    for (const QString& word : words)
        if (!knows(word))
            unknown.insert(word);
    if (unknown.isEmpty())
        return false;
    QSet<QString> spellings = unknown;
    for (const QString& word : std::as_const(unknown))
        spellings.insert(Text::folded(word));
    const QHash<QString, QByteArray> found = PocketSphinxVocabulary::pronunciations(dictionary_, spellings);
    bool added = false;
    for (const QString& word : std::as_const(unknown)) {
        const QByteArray phones = found.value(word, found.value(Text::folded(word)));
        // The search is rebuilt once, by favour().
        if (!phones.isEmpty())
            added = ps_add_word(decoder_, word.toUtf8().constData(), phones.constData(), FALSE) >= 0 || added;
    }
    return added;
}

void PocketSphinxDecoder::favour(const QStringList& words) {
    static constexpr const char* hinted = "hints";
    // Enough for a name to win over the everyday words that sound like it, not so much that everyday words
    // turn into names: with a tenth of a percent for the names, "ten of clubs" came out as "Gupta an up close";
    // a hundredth hears as many of the names (bench/SpeechBenchmark.cpp).
    const float hintedShare = options_.hintShare;
    if (ngram_model_t* previous = ngram_model_set_remove(languageModels_, hinted, TRUE))
        ngram_model_free(previous);
    const char* names[] = {modelName_.constData(), hinted};
    float weights[] = {1.0f, 0.0f};
    if (!words.isEmpty()) {
        const MemoryFile file(PocketSphinxVocabulary::equallyLikely(words));
        ngram_model_t* model =
            file.isOpen() ? ngram_model_read(config_, file.path().constData(), NGRAM_ARPA, ps_get_logmath(decoder_))
                          : nullptr;
        if (model) {
            ngram_model_set_add(languageModels_, model, hinted, hintedShare, TRUE);
            weights[0] = 1.0f - hintedShare;
            weights[1] = hintedShare;
        }
    }
    ngram_model_set_interp(languageModels_, names, weights);
    favoured_ = words;
    // A search built anew takes in the words added and the new chances; it replaces the one of that name.
    ps_set_lm(decoder_, searchName, languageModels_);
    ps_set_search(decoder_, searchName);
}

void PocketSphinxDecoder::startDictation() {
    if (inUtterance_)
        ps_end_utt(decoder_);
    inUtterance_ = false;
    // The decoder learns the microphone as it listens. Starting each dictation from the model's own guess
    // at it cost a third of the words of real voices; the microphone is the same from one dictation to the
    // next.
    ps_start_stream(decoder_);
    startUtterance();
}

std::vector<float> PocketSphinxDecoder::channel() const {
    cmn_t* mean = ps_get_feat(decoder_)->cmn_struct;
    // The library takes in what the last utterance taught it when the next one starts; this is what it
    // will start from.
    cmn_live_update(mean);
    std::vector<float> values(size_t(mean->veclen));
    cmn_live_get(mean, values.data());
    return values;
}

void PocketSphinxDecoder::setChannel(const std::vector<float>& mean) {
    cmn_t* live = ps_get_feat(decoder_)->cmn_struct;
    if (mean.size() == size_t(live->veclen))
        cmn_live_set(live, mean.data());
}

void PocketSphinxDecoder::keepChannelIn(const QString& path) {
    channelFile_ = path;
    if (const std::optional<std::vector<float>> kept = PocketSphinxChannelFile::read(path, channel().size()))
        setChannel(*kept);
}

void PocketSphinxDecoder::saveChannel() {
    if (channelFile_.isEmpty())
        return;
    if (const std::optional<QString> failure = PocketSphinxChannelFile::write(channelFile_, channel()))
        Log::speech.error(QStringLiteral("The microphone's settings for speech couldn't be kept: %{public}s"),
                          {*failure});
}

void PocketSphinxDecoder::startUtterance() {
    if (inUtterance_)
        ps_end_utt(decoder_);
    inUtterance_ = ps_start_utt(decoder_) >= 0;
    inSpeech_ = false;
    lastGuess_.clear();
}

QString PocketSphinxDecoder::hypothesis() {
    const char* text = ps_get_hyp(decoder_, nullptr);
    return text ? QString::fromUtf8(text) : QString();
}

PocketSphinxDecoder::Progress PocketSphinxDecoder::process(const std::vector<qint16>& samples) {
    if (!inUtterance_)
        startUtterance();
    Progress progress;
    if (samples.empty() || !inUtterance_)
        return progress;
    ps_process_raw(decoder_, samples.data(), samples.size(), FALSE, FALSE);
    const bool inSpeech = ps_get_in_speech(decoder_);
    if (inSpeech_ && !inSpeech) {
        // A pause: the words before it are settled, and the decoder starts afresh after it.
        progress.ended = endUtterance();
        startUtterance();
        return progress;
    }
    inSpeech_ = inSpeech;
    progress.hypothesis = hypothesis();
    if (!progress.hypothesis.isEmpty())
        lastGuess_ = progress.hypothesis;
    return progress;
}

QString PocketSphinxDecoder::endUtterance() {
    if (!inUtterance_)
        return {};
    ps_end_utt(decoder_);
    inUtterance_ = false;
    inSpeech_ = false;
    return settledText(hypothesis(), lastGuess_);
}

QString PocketSphinxDecoder::settledText(const QString& final, const QString& lastGuess) {
    return final.trimmed().isEmpty() ? lastGuess : final;
}

} // namespace lumeno
