#pragma once

#include <QString>

namespace lumeno {

// A locale the speech engine can transcribe, named by its BCP 47 identifier ("en-US", "zh-Hans-CN").
struct SpeechLocale {
    QString identifier;

    // The lower-case language part: "en" for "en-US".
    QString languageCode() const;

    bool operator==(const SpeechLocale&) const = default;
    bool operator<(const SpeechLocale& other) const { return identifier < other.identifier; }
};

} // namespace lumeno
