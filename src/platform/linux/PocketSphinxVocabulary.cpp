#include "platform/linux/PocketSphinxVocabulary.h"

#include "platform/linux/PocketSphinxModel.h"

#include <pocketsphinx.h>
#include <sphinxbase/err.h>
#include <sphinxbase/logmath.h>
#include <sphinxbase/ngram_model.h>

#include <QFile>

#include <algorithm>
#include <cmath>
#include <vector>

namespace lumeno::PocketSphinxVocabulary {

namespace {

// "word(2) W ER D" -> "word".
QByteArray wordOf(const QByteArray& line) {
    qsizetype end = line.indexOf(' ');
    if (end < 0)
        end = line.size();
    const qsizetype variant = line.indexOf('(');
    return line.left(variant >= 0 && variant < end ? variant : end);
}

QList<QByteArray> dictionaryLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().split('\n');
}

} // namespace

QByteArray likeliest(const PocketSphinxModel& model, int size, QString& error) {
    const QList<QByteArray> lines = dictionaryLines(model.dictionary);
    err_set_logfp(nullptr); // the library's chatter, as the decoders are told with "-logfn"
    cmd_ln_t* config = cmd_ln_parse_r(nullptr, ps_args(), 0, nullptr, FALSE);
    logmath_t* logmath = logmath_init(1.0001, 0, 0);
    ngram_model_t* languageModel =
        ngram_model_read(config, QFile::encodeName(model.languageModel).constData(), NGRAM_AUTO, logmath);
    if (lines.size() < 2 || !languageModel) {
        if (languageModel)
            ngram_model_free(languageModel);
        logmath_free(logmath);
        cmd_ln_free_r(config);
        error = QStringLiteral("The speech model for %1 couldn't be read.").arg(model.locale);
        return {};
    }
    // The chance of each word on its own, for the words both files have.
    QHash<QByteArray, int> scores;
    const int32 unknown = ngram_unknown_wid(languageModel);
    for (const QByteArray& line : lines) {
        const QByteArray word = wordOf(line);
        if (word.isEmpty() || scores.contains(word) || ngram_wid(languageModel, word.constData()) == unknown)
            continue;
        scores.insert(word, ngram_score(languageModel, word.constData(), nullptr));
    }
    ngram_model_free(languageModel);
    logmath_free(logmath);
    cmd_ln_free_r(config);

    std::vector<std::pair<int, QByteArray>> ranked;
    ranked.reserve(size_t(scores.size()));
    for (auto score = scores.cbegin(); score != scores.cend(); ++score)
        ranked.emplace_back(score.value(), score.key());
    const auto kept = std::min(ranked.size(), size_t(std::max(size, 0)));
    std::partial_sort(ranked.begin(), ranked.begin() + qsizetype(kept), ranked.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first || (a.first == b.first && a.second < b.second); });
    QSet<QByteArray> chosen;
    for (size_t index = 0; index < kept; ++index)
        chosen.insert(ranked[index].second);

    QByteArray vocabulary;
    for (const QByteArray& line : lines) {
        if (chosen.contains(wordOf(line)))
            vocabulary += line + '\n';
    }
    return vocabulary;
}

QHash<QString, QByteArray> pronunciations(const QString& dictionary, const QSet<QString>& words) {
    QHash<QString, QByteArray> found;
    if (words.isEmpty())
        return found;
    for (const QByteArray& line : dictionaryLines(dictionary)) {
        const QString word = QString::fromUtf8(wordOf(line));
        const qsizetype phones = line.indexOf(' ');
        if (phones > 0 && words.contains(word) && !found.contains(word))
            found.insert(word, line.mid(phones + 1).trimmed());
    }
    return found;
}

QByteArray equallyLikely(const QStringList& words) {
    const QByteArray chance = QByteArray::number(std::log10(1.0 / double(std::max<qsizetype>(words.size(), 1))), 'f', 4);
    // The sentence marks are never predicted from this model: only the base model places them.
    QByteArray model = "\\data\\\nngram 1=" + QByteArray::number(words.size() + 2) + "\n\n\\1-grams:\n-99 <s>\n-99 </s>\n";
    for (const QString& word : words)
        model += chance + ' ' + word.toUtf8() + '\n';
    return model + "\n\\end\\\n";
}

} // namespace lumeno::PocketSphinxVocabulary
