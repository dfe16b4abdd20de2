#pragma once

#include "platform/linux/PocketSphinxDecoder.h"
#include "platform/linux/PocketSphinxEngine.h"
#include "support/QtScheduler.h"

#include <QDir>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace lumeno::speech {

// One recording and what is said in it (no words: the recording has no transcription).
struct Recording {
    QString name;
    QString wav;
    QStringList said;
};

// Where Debian's pocketsphinx-testdata puts its recordings of real people.
QString testDataRoot();
// The cards set: five phrases of one speaker with the package's transcriptions; empty when not installed.
std::vector<Recording> cards();
// The recordings named in `list` (a file under the test data, a tab, the words said), those in 16 kHz raw
// form written as WAV files into `scratch`; a missing recording is left out.
std::vector<Recording> listed(const QString& list, const QDir& scratch);
// The spoken corpus: WAV files named <line>-<voice>-<speed>.wav in `folder`, the lines of `dictations`.
std::vector<Recording> spoken(const QString& folder, const QString& dictations);

// Lower-case words without punctuation: "I'll send it." -> "i'll", "send", "it".
QStringList words(const QString& text);
// Substitutions, insertions and deletions that turn `heard` into `said`.
int wordErrors(const QStringList& said, const QStringList& heard);

// What one dictation gave.
struct Heard {
    QString transcript;
    double finishMs = 0;    // from stop() until the transcript came back
    double cpuSeconds = 0;  // this process, from start() until the transcript came back
    double audioSeconds = 0;
};

// Dictations through the program's own path (a microphone playing a WAV file → SpeechCapture →
// PocketSphinxEngine), one decoder kept for all of them as in the program. `pace` 1 plays the audio in real
// time, 0 as fast as it is decoded. With a `channelFolder`, the view of the microphone is kept there, as the
// program keeps it in its support folder.
class SpeechTrial {
public:
    SpeechTrial(PocketSphinxDecoder::Options options, double pace, const QString& channelFolder = {});
    ~SpeechTrial();

    // Loads the English model; the reason when it cannot.
    std::optional<QString> prepare();
    // Plays `recording` as one dictation, the key held until its audio has played.
    Heard dictate(const Recording& recording, const QStringList& hints = {});

private:
    double pace_;
    QtScheduler scheduler_;
    PocketSphinxEngine engine_;
};

// The word error rate, in percent, of `trial` over the recordings that have transcriptions.
double wordErrorPercent(SpeechTrial& trial, const std::vector<Recording>& recordings);

} // namespace lumeno::speech
