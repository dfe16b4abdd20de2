#pragma once

#include "platform/linux/PocketSphinxModel.h"

#include <QString>
#include <QSet>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

struct ps_decoder_s;
struct cmd_ln_s;
struct ngram_model_s;

namespace lumeno {

// One loaded PocketSphinx decoder. Loading takes a while (the language model is large), so it is kept
// and reused for every dictation. Not thread-safe: used on one thread.
class PocketSphinxDecoder {
public:
    struct Options {
        // PocketSphinx's own option names and values ("-beam", "1e-48").
        std::vector<std::pair<QString, QString>> flags;
        // How many of the language model's likeliest words are listened for; 0: every word of the dictionary.
        int vocabulary = 0;
        // The share of the language model's probability the hinted words get together.
        float hintShare = 0.0001f;
    };
    // What the library does when it is told nothing.
    static Options packageDefaults() { return {}; }
    // What dictation uses: a vocabulary of everyday words and a search that keeps pace with the speaker, so
    // that little is left to do when the key comes up. bench/SpeechBenchmark.cpp measures both on real and
    // synthetic voices.
    static Options forDictation();

    // None, with the reason in `error`, when the model cannot be loaded.
    static std::unique_ptr<PocketSphinxDecoder> load(const PocketSphinxModel& model, QString& error,
                                                     const Options& options = forDictation());
    ~PocketSphinxDecoder();
    PocketSphinxDecoder(const PocketSphinxDecoder&) = delete;
    PocketSphinxDecoder& operator=(const PocketSphinxDecoder&) = delete;

    // Makes each word of `hints` known, where the model's dictionary has a pronunciation for it or, failing
    // that, for its spelling without accents ("Zoë" is said as "zoe"), and likely: names are rare in the
    // language model, so without help the recognizer hears everyday words in their place. The words of the
    // previous hints are no longer helped.
    void learn(const QStringList& hints);
    bool knows(const QString& word);

    // A new dictation: the search starts afresh, while the view of the microphone learned so far (the running
    // cepstral mean) carries over, as the microphone does.
    void startDictation();
    // That view of the microphone, and one to start from instead.
    std::vector<float> channel() const;
    void setChannel(const std::vector<float>& mean);
    // Starts from the view of the microphone an earlier run kept in `path`, when there is one, and keeps it
    // there from now on.
    void keepChannelIn(const QString& path);
    // Writes the view of the microphone where keepChannelIn() said; nothing when it said nowhere.
    void saveChannel();
    // A new utterance within the dictation, ending one still open.
    void startUtterance();
    struct Progress {
        QString hypothesis;          // the current guess for the open utterance
        std::optional<QString> ended; // the settled text of an utterance that ended in a pause
    };
    // Decodes 16 kHz samples; an utterance that ends in silence is settled and a new one begins.
    Progress process(const std::vector<qint16>& samples);
    // Settles the open utterance and gives its text (empty when nothing was heard).
    QString endUtterance();
    // The settled text of an utterance: the search's final word, unless that lost every word the running
    // guess held (a final search over a pruned lattice can find no path through it), when the guess stands.
    static QString settledText(const QString& final, const QString& lastGuess);

private:
    PocketSphinxDecoder(ps_decoder_s* decoder, cmd_ln_s* config, QString dictionary, const Options& options);
    QString hypothesis();
    // Adds the words of `hints` the decoder cannot say yet; whether it added any.
    bool add(const QSet<QString>& words);
    // Gives `words` a share of the language model's probability, in place of the previous ones.
    void favour(const QStringList& words);

    ps_decoder_s* decoder_;
    cmd_ln_s* config_;
    QString dictionary_; // the model's whole pronunciation dictionary
    ngram_model_s* languageModels_; // the search's set: the model's own, and the hinted words once there are any
    QByteArray modelName_;          // the model's own in that set
    QStringList favoured_;
    Options options_;
    QString channelFile_;
    QString lastGuess_; // the open utterance's latest running guess that held words
    bool inUtterance_ = false;
    bool inSpeech_ = false;
};

} // namespace lumeno
