#pragma once

#include <QString>

#include <vector>

namespace lumeno {

// One language's PocketSphinx model as Debian installs it: a folder per locale ("en-us") under the model
// root, holding the acoustic model folder, a language model and a pronunciation dictionary.
struct PocketSphinxModel {
    static QString debianRoot() { return QStringLiteral("/usr/share/pocketsphinx/model"); }

    QString locale;        // BCP 47: "en-US"
    QString acoustic;      // folder
    QString languageModel; // file
    QString dictionary;    // file

    // The complete models under `root`, by locale; a folder missing one of the three parts is left out.
    static std::vector<PocketSphinxModel> installed(const QString& root);
    // "en-us" -> "en-US", "de" -> "de".
    static QString localeOfFolder(const QString& folder);

    bool operator==(const PocketSphinxModel&) const = default;
};

} // namespace lumeno
