#include "platform/linux/harness/SpeechTrial.h"

#include "platform/linux/WavFile.h"
#include "platform/linux/WavFileAudioInput.h"
#include "platform/linux/harness/WaitUntil.h"
#include "support/Text.h"
#include "voice/SpeechCapture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <sys/resource.h>

#include <algorithm>

namespace lumeno::speech {

namespace {

QStringList lines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QByteArray littleEndian(quint32 value, int bytes) {
    QByteArray out(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        out[i] = char((value >> (8 * i)) & 0xff);
    return out;
}

// 16 kHz mono 16-bit samples, as the package's .raw recordings hold them, in a WAV file.
bool writeWav(const QString& raw, const QString& wav) {
    QFile in(raw);
    QFile out(wav);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray samples = in.readAll();
    const auto size = quint32(samples.size());
    QByteArray file = "RIFF" + littleEndian(36 + size, 4) + "WAVEfmt " + littleEndian(16, 4) + littleEndian(1, 2) +
                      littleEndian(1, 2) + littleEndian(16000, 4) + littleEndian(32000, 4) + littleEndian(2, 2) +
                      littleEndian(16, 2) + "data" + littleEndian(size, 4) + samples;
    return out.write(file) == file.size();
}

double processCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

QString testDataRoot() {
    return QStringLiteral("/usr/share/pocketsphinx/test/data");
}

std::vector<Recording> cards() {
    const QDir folder(testDataRoot() + QStringLiteral("/cards"));
    std::vector<Recording> all;
    // "<s> ten of clubs  </s> (001)"
    for (const QString& line : lines(folder.filePath(QStringLiteral("cards.transcription")))) {
        const qsizetype open = line.lastIndexOf(QLatin1Char('('));
        const QString id = line.mid(open + 1).chopped(1);
        const QStringList said = words(line.left(open).remove(QStringLiteral("<s>")).remove(QStringLiteral("</s>")));
        const QString wav = folder.filePath(id + QStringLiteral(".wav"));
        if (open > 0 && QFileInfo::exists(wav))
            all.push_back({QStringLiteral("cards/") + id, wav, said});
    }
    return all;
}

std::vector<Recording> listed(const QString& list, const QDir& scratch) {
    std::vector<Recording> all;
    for (const QString& line : lines(list)) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QString name = line.section(QLatin1Char('\t'), 0, 0);
        const QString path = testDataRoot() + QLatin1Char('/') + name;
        QString wav = path;
        if (name.endsWith(QLatin1String(".raw"))) {
            wav = scratch.filePath(QString(name).replace(QLatin1Char('/'), QLatin1Char('-')) + QStringLiteral(".wav"));
            if (!QFileInfo::exists(path) || !writeWav(path, wav))
                continue;
        }
        if (QFileInfo::exists(wav))
            all.push_back({name, wav, words(line.section(QLatin1Char('\t'), 1))});
    }
    return all;
}

std::vector<Recording> spoken(const QString& folder, const QString& dictations) {
    std::vector<Recording> all;
    const QStringList texts = lines(dictations);
    const QDir dir(folder);
    for (const QString& file : dir.entryList({QStringLiteral("*.wav")}, QDir::Files, QDir::Name)) {
        const qsizetype line = file.section(QLatin1Char('-'), 0, 0).toInt();
        if (line >= 1 && line <= texts.size())
            all.push_back({file, dir.filePath(file), words(texts[line - 1])});
    }
    return all;
}

QStringList words(const QString& text) {
    QString plain = Text::lowercased(text);
    for (QChar& character : plain)
        if (!character.isLetter() && character != QLatin1Char('\''))
            character = QLatin1Char(' ');
    return plain.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

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

SpeechTrial::SpeechTrial(PocketSphinxDecoder::Options options, double pace, const QString& channelFolder)
    : pace_(pace), engine_(PocketSphinxModel::debianRoot(), std::move(options), channelFolder) {}

SpeechTrial::~SpeechTrial() = default;

std::optional<QString> SpeechTrial::prepare() {
    QCoro::Task<std::optional<QString>> loading = engine_.prepare(QStringLiteral("en-US"));
    if (!desktop::waitUntil([&] { return loading.isReady(); }, 120000))
        return QStringLiteral("the model did not load in two minutes");
    return QCoro::waitFor(loading);
}

Heard SpeechTrial::dictate(const Recording& recording, const QStringList& hints) {
    Heard heard;
    const std::optional<AudioBuffer> audio = WavFile::read(recording.wav);
    if (!audio)
        return heard;
    heard.audioSeconds = audio->seconds();
    WavFileAudioInput microphone(recording.wav, scheduler_, pace_);
    SpeechCapture capture(microphone, engine_);
    capture.setHints(hints);
    const double cpuBefore = processCpuSeconds();
    QCoro::Task<> starting = capture.start(SpeechLocale{QStringLiteral("en-US")}, SpeechCapture::Engine::onDevice);
    const int limitMs = int(heard.audioSeconds * 1000 / std::max(pace_, 0.05)) + 60000;
    if (!desktop::waitUntil([&] { return starting.isReady(); }, 60000) ||
        !desktop::waitUntil([&] { return capture.duration() >= heard.audioSeconds - 0.001; }, limitMs))
        return heard;
    QElapsedTimer finishing;
    finishing.start();
    QCoro::Task<QString> stopping = capture.stop();
    if (!desktop::waitUntil([&] { return stopping.isReady(); }, 60000))
        return heard;
    heard.finishMs = double(finishing.nsecsElapsed()) / 1e6;
    heard.cpuSeconds = processCpuSeconds() - cpuBefore;
    heard.transcript = QCoro::waitFor(stopping);
    return heard;
}

double wordErrorPercent(SpeechTrial& trial, const std::vector<Recording>& recordings) {
    int errors = 0;
    int said = 0;
    for (const Recording& recording : recordings) {
        if (recording.said.isEmpty())
            continue;
        errors += wordErrors(recording.said, words(trial.dictate(recording).transcript));
        said += int(recording.said.size());
    }
    return said ? 100.0 * errors / said : 0;
}

} // namespace lumeno::speech
