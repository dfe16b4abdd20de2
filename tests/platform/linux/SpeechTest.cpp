#include "platform/linux/AudioResampler.h"
#include "platform/linux/PocketSphinxChannelFile.h"
#include "platform/linux/PocketSphinxDecoder.h"
#include "platform/linux/PocketSphinxEngine.h"
#include "platform/linux/PocketSphinxModel.h"
#include "platform/linux/PocketSphinxSession.h"
#include "platform/linux/PocketSphinxVocabulary.h"
#include "platform/linux/WavFile.h"
#include "platform/linux/WavFileAudioInput.h"
#include "platform/linux/WorkerThread.h"
#include "platform/linux/harness/SpeechTrial.h"
#include "support/AtomicFile.h"
#include "support/QtScheduler.h"
#include "voice/SpeechCapture.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <future>

namespace lumeno {
namespace {

// Runs the event loop (where recognition results arrive) until `condition` holds or `timeoutMs` pass.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    QTimer tick;
    tick.start(10);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QAbstractEventDispatcher::instance()->processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

template <class T>
T finish(QCoro::Task<T> task, int timeoutMs = 20000) {
    if (!waitUntil([&] { return task.isReady(); }, timeoutMs)) {
        ADD_FAILURE() << "the task did not finish in time";
        return T{};
    }
    return QCoro::waitFor(task);
}

void finish(QCoro::Task<> task, int timeoutMs = 20000) {
    if (!waitUntil([&] { return task.isReady(); }, timeoutMs))
        ADD_FAILURE() << "the task did not finish in time";
    else
        QCoro::waitFor(task);
}

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(PocketSphinxModelTest, CompleteModelsAreFoundByLocale) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    touch(root.filePath("en-us/en-us/mdef"));
    touch(root.filePath("en-us/en-us-phone.lm.bin"));
    touch(root.filePath("en-us/en-us.lm.bin"));
    touch(root.filePath("en-us/cmudict-en-us.dict"));
    // A model without its dictionary cannot be used.
    touch(root.filePath("de/de/mdef"));
    touch(root.filePath("de/de.lm.bin"));

    const std::vector<PocketSphinxModel> models = PocketSphinxModel::installed(root.path());
    ASSERT_EQ(models.size(), 1u);
    EXPECT_EQ(models[0], (PocketSphinxModel{QStringLiteral("en-US"), root.filePath("en-us/en-us"),
                                            root.filePath("en-us/en-us.lm.bin"),
                                            root.filePath("en-us/cmudict-en-us.dict")}));
    EXPECT_TRUE(PocketSphinxModel::installed(root.filePath("missing")).empty());
    EXPECT_EQ(PocketSphinxModel::localeOfFolder(QStringLiteral("pt-br")), QStringLiteral("pt-BR"));
    EXPECT_EQ(PocketSphinxModel::localeOfFolder(QStringLiteral("de")), QStringLiteral("de"));
}

TEST(PocketSphinxSessionTest, HintedNamesGetTheirSpellingBack) {
    const QHash<QString, QString> spellings = {{QStringLiteral("ana"), QStringLiteral("Ana")},
                                               {QStringLiteral("zoë"), QStringLiteral("Zoë")}};
    EXPECT_EQ(PocketSphinxSession::respelled(QStringLiteral("tell ana and zoë it's fine"), spellings),
              QStringLiteral("tell Ana and Zoë it's fine"));
    EXPECT_EQ(PocketSphinxSession::respelled(QStringLiteral(" banana"), spellings), QStringLiteral(" banana"));
}

// The real recognizer with Debian's English model.
class PocketSphinxTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::vector<PocketSphinxModel> models = PocketSphinxModel::installed(PocketSphinxModel::debianRoot());
        if (models.empty())
            GTEST_SKIP() << "No PocketSphinx model (pocketsphinx-en-us installs one)";
        model = models.front();
    }

    // `text` spoken by espeak-ng into a WAV file; empty when espeak-ng is missing.
    QString speak(const QString& text, const QString& voice = QStringLiteral("en-us")) {
        if (QStandardPaths::findExecutable(QStringLiteral("espeak-ng")).isEmpty())
            return {};
        const QString path = folder.filePath(QStringLiteral("speech.wav"));
        QProcess espeak;
        espeak.start(QStringLiteral("espeak-ng"), {QStringLiteral("-v"), voice, QStringLiteral("-s"),
                                                   QStringLiteral("150"), QStringLiteral("-w"), path, text});
        return espeak.waitForFinished(20000) && espeak.exitCode() == 0 ? path : QString();
    }

    PocketSphinxModel model;
    QTemporaryDir folder;
};

TEST_F(PocketSphinxTest, TheVocabularyHoldsTheLikeliestWordsWithEveryPronunciation) {
    QString error;
    const QByteArray vocabulary = PocketSphinxVocabulary::likeliest(model, 3, error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    QSet<QByteArray> words;
    for (const QByteArray& line : vocabulary.split('\n'))
        if (!line.isEmpty())
            words.insert(line.left(line.indexOf(' ')));
    // "the" is said two ways; both come along.
    EXPECT_TRUE(words.contains("the")) << vocabulary.toStdString();
    EXPECT_TRUE(words.contains("the(2)")) << vocabulary.toStdString();
    QSet<QByteArray> distinct;
    for (const QByteArray& word : std::as_const(words))
        distinct.insert(word.left(word.indexOf('(')));
    EXPECT_EQ(distinct.size(), 3) << vocabulary.toStdString();

    PocketSphinxModel broken = model;
    broken.languageModel = folder.filePath(QStringLiteral("missing.lm.bin"));
    EXPECT_TRUE(PocketSphinxVocabulary::likeliest(broken, 3, error).isEmpty());
    EXPECT_EQ(error, QStringLiteral("The speech model for en-US couldn't be read."));
}

TEST_F(PocketSphinxTest, HintedNamesOutsideTheVocabularyAreLearnedFromTheDictionaryOrTheirPlainSpelling) {
    QString error;
    const std::unique_ptr<PocketSphinxDecoder> decoder = PocketSphinxDecoder::load(model, error);
    ASSERT_TRUE(decoder) << error.toStdString();
    EXPECT_TRUE(decoder->knows(QStringLiteral("friday")));
    EXPECT_FALSE(decoder->knows(QStringLiteral("siobhan"))) << "not an everyday word";
    EXPECT_FALSE(decoder->knows(QStringLiteral("zoë")));
    decoder->learn({QStringLiteral("Siobhan"), QStringLiteral("Zoë Novak"), QStringLiteral("Qxzzv")});
    EXPECT_TRUE(decoder->knows(QStringLiteral("siobhan")));
    EXPECT_TRUE(decoder->knows(QStringLiteral("zoë")));
    EXPECT_TRUE(decoder->knows(QStringLiteral("novak")));
    EXPECT_FALSE(decoder->knows(QStringLiteral("qxzzv"))) << "nothing to pronounce it by";
}

// The capture as the program uses it, with a microphone that plays a recording as fast as it is decoded.
struct Listener {
    explicit Listener(const QString& recording) : recording(recording), microphone(recording, scheduler, 0) {}

    // Plays the recording into the capture as one dictation and gives its transcript.
    QString dictate() {
        const double seconds = WavFile::read(recording)->seconds();
        finish(capture.start(SpeechLocale{QStringLiteral("en-US")}, SpeechCapture::Engine::onDevice));
        EXPECT_TRUE(capture.isCapturing());
        EXPECT_TRUE(waitUntil([&] { return capture.duration() >= seconds - 0.001; }, 20000))
            << "the recording never ended";
        return finish(capture.stop());
    }

    QString recording;
    QtScheduler scheduler;
    WavFileAudioInput microphone;
    PocketSphinxEngine engine{PocketSphinxModel::debianRoot()};
    SpeechCapture capture{microphone, engine};
};

TEST_F(PocketSphinxTest, ARecordingIsTranscribedWhileItPlaysAndSettledOnStop) {
    const QString recording = speak(QStringLiteral("Please send the report tomorrow morning."));
    if (recording.isEmpty())
        GTEST_SKIP() << "espeak-ng is not installed";

    Listener listener(recording);
    QStringList live;
    listener.capture.onTranscript = [&](const QString& transcript) { live.push_back(transcript); };

    const std::vector<SpeechLocale> locales = finish(listener.capture.supportedLocales());
    EXPECT_NE(std::find(locales.begin(), locales.end(), SpeechLocale{QStringLiteral("en-US")}), locales.end());
    const QString transcript = listener.dictate();

    EXPECT_TRUE(transcript.contains(QStringLiteral("report"))) << transcript.toStdString();
    EXPECT_TRUE(transcript.contains(QStringLiteral("tomorrow"))) << transcript.toStdString();
    // Words showed up while the audio came in, not only at the end.
    EXPECT_GE(live.size(), 3) << live.join(QLatin1String(" | ")).toStdString();
    EXPECT_GT(listener.capture.peakLevel(), 0.3f);
    // The model stays loaded for the next dictation: preparing it again is over at once.
    EXPECT_TRUE(listener.engine.prepare(QStringLiteral("en-US")).isReady());
}

TEST_F(PocketSphinxTest, NamesOnThePersonCardsAreHeardWhereEverydayWordsWereHeardBefore) {
    const QString recording = speak(QStringLiteral("Ask Olivia to share the notes from the meeting."),
                                    QStringLiteral("en-us+klatt"));
    if (recording.isEmpty())
        GTEST_SKIP() << "espeak-ng is not installed";

    Listener listener(recording);
    const QString unhelped = listener.dictate();
    EXPECT_FALSE(unhelped.contains(QStringLiteral("olivia"), Qt::CaseInsensitive)) << unhelped.toStdString();
    listener.capture.setHints({QStringLiteral("Olivia Chen"), QStringLiteral("Siobhan Kelly")});
    const QString helped = listener.dictate();
    EXPECT_TRUE(helped.contains(QStringLiteral("Olivia"))) << helped.toStdString();
    EXPECT_FALSE(helped.contains(QStringLiteral("Siobhan"))) << helped.toStdString();
    // Hints last for the dictations they are given for.
    listener.capture.setHints({});
    const QString unhelpedAgain = listener.dictate();
    EXPECT_FALSE(unhelpedAgain.contains(QStringLiteral("olivia"), Qt::CaseInsensitive)) << unhelpedAgain.toStdString();
}

// A dictation ended while the decoding thread is busy ends at once: the main thread never waits for the
// decoder, and the session's jobs still queued behind it find it gone and touch nothing.
TEST_F(PocketSphinxTest, ASessionEndsWithoutWaitingForTheDecodingThread) {
    QString error;
    const std::unique_ptr<PocketSphinxDecoder> decoder = PocketSphinxDecoder::load(model, error);
    ASSERT_TRUE(decoder) << error.toStdString();
    WorkerThread decoding(QStringLiteral("Speech"));
    std::promise<void> release;
    std::atomic<bool> busyJobEnded = false;
    decoding.post([held = release.get_future().share(), &busyJobEnded] {
        held.wait_for(std::chrono::seconds(20));
        busyJobEnded = true;
    });

    int results = 0;
    auto session = std::make_unique<PocketSphinxSession>(decoding, *decoder, QStringList{QStringLiteral("Zoë")},
                                                         [&](const SpeechEngine::Result&) { ++results; });
    session->feed(AudioBuffer{std::vector<float>(16000, 0.1f), 16000});
    session.reset();
    EXPECT_FALSE(busyJobEnded) << "the session waited for the decoding thread";

    release.set_value();
    EXPECT_TRUE(decoding.run([] { return true; }, std::chrono::seconds(20))) << "the queued jobs never ran";
    QCoreApplication::processEvents(); // what the jobs handed back to the main thread
    EXPECT_EQ(results, 0);
}

TEST(PocketSphinxDecoderTest, AFinalThatLostEveryWordOfTheRunningGuessGivesTheGuess) {
    EXPECT_EQ(PocketSphinxDecoder::settledText(QString(), QStringLiteral("ten of clubs")), QStringLiteral("ten of clubs"));
    EXPECT_EQ(PocketSphinxDecoder::settledText(QStringLiteral(" "), QStringLiteral("ten")), QStringLiteral("ten"));
    // The final search has the last word: it may correct the guess, or find fewer words in it.
    EXPECT_EQ(PocketSphinxDecoder::settledText(QStringLiteral("seven of hearts"), QStringLiteral("seven of art")),
              QStringLiteral("seven of hearts"));
    EXPECT_EQ(PocketSphinxDecoder::settledText(QStringLiteral("five"), QStringLiteral("five by")), QStringLiteral("five"));
    EXPECT_EQ(PocketSphinxDecoder::settledText(QString(), QString()), QString());
}

// Real people's voices, from Debian's pocketsphinx-testdata, through the program's own path.
class RealVoicesTest : public PocketSphinxTest {
protected:
    void SetUp() override {
        PocketSphinxTest::SetUp();
        if (IsSkipped())
            return;
        recordings = speech::cards();
        if (recordings.empty())
            GTEST_SKIP() << "pocketsphinx-testdata is not installed";
        ASSERT_EQ(recordings.size(), 5u);
        ASSERT_EQ(recordings[0].said, QStringList({QStringLiteral("ten"), QStringLiteral("of"), QStringLiteral("clubs")}));
    }

    std::vector<speech::Recording> recordings;
};

TEST_F(RealVoicesTest, OnTheCardsSetDictationIsHeardNearlyAsWellAsWithThePackageDefaults) {
    speech::SpeechTrial shipped(PocketSphinxDecoder::forDictation(), 0);
    speech::SpeechTrial defaults(PocketSphinxDecoder::packageDefaults(), 0);
    ASSERT_EQ(shipped.prepare(), std::nullopt);
    ASSERT_EQ(defaults.prepare(), std::nullopt);
    const double shippedPercent = speech::wordErrorPercent(shipped, recordings);
    const double defaultsPercent = speech::wordErrorPercent(defaults, recordings);
    EXPECT_LE(shippedPercent, defaultsPercent + 5) << "word error rate of the package defaults: " << defaultsPercent;
    // Neither run heard nothing: a broken path would make the two equal at 100%.
    EXPECT_LT(defaultsPercent, 100);
}

// `audio` in the buffers the microphone gives.
std::vector<AudioBuffer> buffers(const AudioBuffer& audio) {
    std::vector<AudioBuffer> all;
    const auto piece = size_t(audio.sampleRate * WavFileAudioInput::bufferSeconds);
    for (size_t start = 0; start < audio.samples.size(); start += piece)
        all.push_back({{audio.samples.begin() + qsizetype(start),
                        audio.samples.begin() + qsizetype(std::min(audio.samples.size(), start + piece))},
                       audio.sampleRate});
    return all;
}

// One dictation of `audio` straight into the decoder.
QString dictated(PocketSphinxDecoder& decoder, const AudioBuffer& audio) {
    AudioResampler resampler(16000);
    decoder.startDictation();
    QStringList heard;
    for (const AudioBuffer& buffer : buffers(audio)) {
        const PocketSphinxDecoder::Progress progress = decoder.process(resampler.convert(buffer));
        if (progress.ended)
            heard.push_back(*progress.ended);
    }
    heard.push_back(decoder.endUtterance());
    return heard.join(QLatin1Char(' ')).trimmed();
}

// One dictation of `audio` into an engine's session, until it has settled.
void play(SpeechEngine::Session& session, const AudioBuffer& audio) {
    for (const AudioBuffer& buffer : buffers(audio))
        session.feed(buffer);
    finish(session.finish());
}

TEST_F(RealVoicesTest, OnlyTheViewOfTheMicrophoneCarriesOverFromOneDictationToTheNext) {
    QString error;
    const std::unique_ptr<PocketSphinxDecoder> used = PocketSphinxDecoder::load(model, error);
    const std::unique_ptr<PocketSphinxDecoder> fresh = PocketSphinxDecoder::load(model, error);
    ASSERT_TRUE(used && fresh) << error.toStdString();
    const AudioBuffer card = *WavFile::read(recordings[4].wav);
    const QString cold = dictated(*fresh, card);
    EXPECT_FALSE(cold.isEmpty());
    dictated(*used, *WavFile::read(recordings[1].wav));
    dictated(*used, *WavFile::read(recordings[2].wav));
    const std::vector<float> learned = used->channel();
    EXPECT_NE(learned, fresh->channel()) << "listening taught the decoder nothing of the microphone";

    // What the other cards left behind is that view alone: a decoder given it hears the card the same way.
    const QString warm = dictated(*used, card);
    const std::unique_ptr<PocketSphinxDecoder> told = PocketSphinxDecoder::load(model, error);
    ASSERT_TRUE(told) << error.toStdString();
    told->setChannel(learned);
    EXPECT_EQ(dictated(*told, card).toStdString(), warm.toStdString());
}

TEST_F(RealVoicesTest, ADictationOfSilenceAfterOneOfWordsGivesNothing) {
    QString error;
    const std::unique_ptr<PocketSphinxDecoder> decoder = PocketSphinxDecoder::load(model, error);
    ASSERT_TRUE(decoder) << error.toStdString();
    EXPECT_FALSE(dictated(*decoder, *WavFile::read(recordings[4].wav)).isEmpty());
    EXPECT_EQ(dictated(*decoder, AudioBuffer{std::vector<float>(16000, 0.0f), 16000}).toStdString(), "");
}

TEST_F(RealVoicesTest, TheViewOfTheMicrophoneIsKeptForTheProgramsNextStart) {
    QTemporaryDir support;
    const QString kept = support.filePath(QStringLiteral("speech-microphone-en-US.txt"));
    std::vector<float> learned;
    {
        PocketSphinxEngine engine(PocketSphinxModel::debianRoot(), PocketSphinxDecoder::forDictation(), support.path());
        ASSERT_EQ(finish(engine.prepare(QStringLiteral("en-US"))), std::nullopt);
        const std::shared_ptr<SpeechEngine::Session> session =
            engine.open(QStringLiteral("en-US"), {}, [](const SpeechEngine::Result&) {});
        ASSERT_TRUE(session);
        play(*session, *WavFile::read(recordings[4].wav));
        // The engine's decoder is busy on its own thread: what it kept is read back from the file.
    }
    QString error;
    const std::unique_ptr<PocketSphinxDecoder> untaught = PocketSphinxDecoder::load(model, error);
    ASSERT_TRUE(untaught) << error.toStdString();
    const std::vector<float> own = untaught->channel();
    const std::optional<std::vector<float>> saved = PocketSphinxChannelFile::read(kept, own.size());
    ASSERT_TRUE(saved) << "nothing readable was kept in " << kept.toStdString();
    EXPECT_NE(*saved, own);

    const std::unique_ptr<PocketSphinxDecoder> restarted = PocketSphinxDecoder::load(model, error);
    restarted->keepChannelIn(kept);
    EXPECT_EQ(restarted->channel(), *saved);

    // A broken file counts as none, and the next save puts a good one in its place.
    for (const QByteArray& broken : {QByteArray("1 2 three\n"), QByteArray("1 2 3\n"), QByteArray("nan 1 2 3 4 5 6 7 8 9 10 11 12\n")}) {
        ASSERT_EQ(AtomicFile::write(kept, broken), std::nullopt);
        const std::unique_ptr<PocketSphinxDecoder> again = PocketSphinxDecoder::load(model, error);
        again->keepChannelIn(kept);
        EXPECT_EQ(again->channel(), own) << broken.toStdString();
        again->saveChannel();
        EXPECT_EQ(PocketSphinxChannelFile::read(kept, own.size()), own) << broken.toStdString();
    }
}

TEST_F(RealVoicesTest, AFinalSearchThatFindsNoWordsKeepsWhatTheRunningGuessHeard) {
    // Three words kept per frame prune the lattice so hard that the final search over the first card finds no
    // way through it, while the running guess held words.
    PocketSphinxDecoder::Options narrow;
    narrow.flags = {{QStringLiteral("-fwdflat"), QStringLiteral("no")}, {QStringLiteral("-maxwpf"), QStringLiteral("3")}};
    narrow.vocabulary = 20000;
    PocketSphinxEngine engine(PocketSphinxModel::debianRoot(), narrow);
    ASSERT_EQ(finish(engine.prepare(QStringLiteral("en-US"))), std::nullopt);
    QStringList guesses;
    QStringList finals;
    const std::shared_ptr<SpeechEngine::Session> session =
        engine.open(QStringLiteral("en-US"), {}, [&](const SpeechEngine::Result& result) {
            (result.isFinal ? finals : guesses).push_back(result.text.trimmed());
        });
    ASSERT_TRUE(session);
    play(*session, *WavFile::read(recordings[0].wav));

    guesses.removeAll(QString());
    ASSERT_FALSE(guesses.isEmpty()) << "nothing was heard while the card played";
    EXPECT_EQ(finals, QStringList{guesses.back()}) << guesses.join(QLatin1String(" | ")).toStdString();
}

TEST_F(PocketSphinxTest, ALocaleWithoutAModelIsRefusedInWords) {
    PocketSphinxEngine engine(PocketSphinxModel::debianRoot());
    const std::optional<QString> failure = finish(engine.prepare(QStringLiteral("sl-SI")));
    EXPECT_EQ(failure, QStringLiteral("No speech model for sl-SI is installed."));
    EXPECT_EQ(engine.open(QStringLiteral("sl-SI"), {}, [](const SpeechEngine::Result&) {}), nullptr);
}

} // namespace
} // namespace lumeno
