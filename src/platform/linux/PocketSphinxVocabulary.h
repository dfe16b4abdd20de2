#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

namespace lumeno {

struct PocketSphinxModel;

// The words a decoder listens for. The model's pronunciation dictionary knows far more words than anyone
// dictates a reply with, and every word costs memory and search time while the user speaks; a vocabulary of
// the language model's likeliest words is smaller, faster and, on everyday dictation, no less accurate.
// Names and rarer words come back as hints (PocketSphinxDecoder::learn).
namespace PocketSphinxVocabulary {

// The dictionary lines, every pronunciation, of the `size` words the language model finds likeliest on
// their own. Empty, with the reason in `error`, when the model's files cannot be read.
QByteArray likeliest(const PocketSphinxModel& model, int size, QString& error);

// The first pronunciation the dictionary file gives each of `words` (lower case); a word it lacks is left out.
QHash<QString, QByteArray> pronunciations(const QString& dictionary, const QSet<QString>& words);

// A language model, in the ARPA text format, in which each of `words` is as likely as any other.
QByteArray equallyLikely(const QStringList& words);

} // namespace PocketSphinxVocabulary
} // namespace lumeno
