#pragma once

#include "platform/AudioBuffer.h"

#include <QCoroTask>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace lumeno {

// Speech recognition on this machine. Locales are BCP 47 identifiers such as "en-US" or "zh-Hans-CN".
class SpeechEngine {
public:
    // What the recognizer heard so far. A volatile result is its current guess at the words still being
    // spoken and replaces the previous volatile one; a final result is settled text that follows what was
    // settled before. Texts carry their own spacing: a final text is appended exactly as it is.
    struct Result {
        QString text;
        bool isFinal = false;
        bool operator==(const Result&) const = default;
    };

    // One recognition of one stretch of speech. Results arrive on the main thread.
    class Session {
    public:
        virtual ~Session() = default;
        virtual void feed(const AudioBuffer& buffer) = 0;
        // No more audio comes: settles what is still volatile and ends once every result is delivered.
        virtual QCoro::Task<> finish() = 0;
        // Drops the session at once: no more results, and a waiting finish() ends.
        virtual void cancel() = 0;
    };

    virtual ~SpeechEngine() = default;

    // Locales the engine has a model for, installed or installable; empty when there are none.
    virtual QCoro::Task<QStringList> supportedLocales() = 0;
    // Makes the locale's model ready to use, installing it when it is missing. None when ready; otherwise
    // why not, in words a user can read.
    virtual QCoro::Task<std::optional<QString>> prepare(QString locale) = 0;
    // Starts recognising in a prepared locale, helped by `hints` (names and words likely to be said); null
    // when the recognizer cannot start.
    virtual std::shared_ptr<Session> open(const QString& locale, const QStringList& hints,
                                          std::function<void(const Result&)> result) = 0;
};

} // namespace lumeno
