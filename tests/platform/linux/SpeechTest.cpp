#include "platform/linux/PocketSphinxDecoder.h"
#include "platform/linux/PocketSphinxEngine.h"
#include "platform/linux/PocketSphinxModel.h"
#include "platform/linux/PocketSphinxSession.h"
#include "platform/linux/PocketSphinxVocabulary.h"
#include "platform/linux/WavFile.h"
#include "platform/linux/WavFileAudioInput.h"
#include "platform/linux/WorkerThread.h"
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

TEST_F(PocketSphinxTest, EveryDictationOfTheSameRecordingIsHeardAlike) {
    // Long enough, with pauses, for the decoder to settle on a view of the microphone while it listens.
    const QString recording =
        speak(QStringLiteral("Tell him the Lisbon venue works for us. But we need the final headcount by Friday."));
    if (recording.isEmpty())
        GTEST_SKIP() << "espeak-ng is not installed";

    Listener listener(recording);
    const std::string first = listener.dictate().toStdString();
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(listener.dictate().toStdString(), first);
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
    EXPECT_EQ(listener.dictate(), unhelped);
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

TEST_F(PocketSphinxTest, ALocaleWithoutAModelIsRefusedInWords) {
    PocketSphinxEngine engine(PocketSphinxModel::debianRoot());
    const std::optional<QString> failure = finish(engine.prepare(QStringLiteral("sl-SI")));
    EXPECT_EQ(failure, QStringLiteral("No speech model for sl-SI is installed."));
    EXPECT_EQ(engine.open(QStringLiteral("sl-SI"), {}, [](const SpeechEngine::Result&) {}), nullptr);
}

} // namespace
} // namespace lumeno
