#include "platform/linux/PocketSphinxDecoder.h"

#include "support/Text.h"

#include <pocketsphinx.h>

#include <QFile>

namespace lumeno {

std::unique_ptr<PocketSphinxDecoder> PocketSphinxDecoder::load(const PocketSphinxModel& model, QString& error) {
    const QByteArray acoustic = QFile::encodeName(model.acoustic);
    const QByteArray languageModel = QFile::encodeName(model.languageModel);
    const QByteArray dictionary = QFile::encodeName(model.dictionary);
    cmd_ln_t* config = cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", acoustic.constData(), "-lm",
                                   languageModel.constData(), "-dict", dictionary.constData(), "-logfn",
                                   "/dev/null", nullptr);
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
    return std::unique_ptr<PocketSphinxDecoder>(new PocketSphinxDecoder(decoder, config));
}

PocketSphinxDecoder::~PocketSphinxDecoder() {
    if (inUtterance_)
        ps_end_utt(decoder_);
    ps_free(decoder_);
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
    for (const QString& hint : hints) {
        for (const QString& word : Text::lowercased(hint).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (knows(word))
                continue;
            char* phones = ps_lookup_word(decoder_, Text::folded(word).toUtf8().constData());
            if (!phones)
                continue;
            ps_add_word(decoder_, word.toUtf8().constData(), phones, TRUE);
            free(phones);
        }
    }
}

void PocketSphinxDecoder::startUtterance() {
    if (inUtterance_)
        ps_end_utt(decoder_);
    inUtterance_ = ps_start_utt(decoder_) >= 0;
    inSpeech_ = false;
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
    return progress;
}

QString PocketSphinxDecoder::endUtterance() {
    if (!inUtterance_)
        return {};
    ps_end_utt(decoder_);
    inUtterance_ = false;
    inSpeech_ = false;
    return hypothesis();
}

} // namespace lumeno
