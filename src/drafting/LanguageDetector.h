#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace lumeno {

// The dominant language of a text by Compact Language Detector 2, restricted to a set of language codes.
class LanguageDetector {
public:
    // The code (from `allowedCodes`) of the language most of `text` is written in; none when the text is
    // too short to tell or reads as none of the allowed languages.
    static std::optional<QString> detect(const QString& text, const QStringList& allowedCodes);
};

} // namespace lumeno
