#pragma once

#include <QString>

namespace lumeno {

// Why listening could not start. Thrown by value from SpeechCapture; the reply loop shows
// localizedDescription() under "Couldn't start listening".
struct CaptureError {
    enum class Kind { languageUnsupported, failed, microphoneUnavailable };

    Kind kind = Kind::failed;
    QString detail; // the language code, or why the recognizer failed

    static CaptureError languageUnsupported(QString languageCode) {
        return {Kind::languageUnsupported, std::move(languageCode)};
    }
    static CaptureError failed(QString reason) { return {Kind::failed, std::move(reason)}; }
    static CaptureError microphoneUnavailable() { return {Kind::microphoneUnavailable, {}}; }

    QString localizedDescription() const;

    bool operator==(const CaptureError&) const = default;
};

} // namespace lumeno
