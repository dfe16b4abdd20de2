#pragma once

#include <QString>

namespace lumeno {

// Why listening could not start. Thrown by value from SpeechCapture; the reply loop shows
// localizedDescription() under "Couldn't start listening".
struct CaptureError {
    enum class Kind { languageUnsupported, failed, microphoneUnavailable };

    Kind kind = Kind::failed;
    QString detail; // the language code, why the recognizer failed, or why the input did not start

    static CaptureError languageUnsupported(QString languageCode) {
        return {Kind::languageUnsupported, std::move(languageCode)};
    }
    static CaptureError failed(QString reason) { return {Kind::failed, std::move(reason)}; }
    // `why`: what the input itself said, shown instead of the general words when there is any.
    static CaptureError microphoneUnavailable(QString why = {}) { return {Kind::microphoneUnavailable, std::move(why)}; }

    QString localizedDescription() const;

    bool operator==(const CaptureError&) const = default;
};

} // namespace lumeno
