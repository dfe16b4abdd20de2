#include "platform/linux/PocketSphinxModel.h"

#include <QDir>

namespace lumeno {

namespace {

// The language model of the words, not the phone-loop one some packages ship beside it.
QString wordLanguageModel(const QDir& folder) {
    const QStringList candidates =
        folder.entryList({QStringLiteral("*.lm.bin"), QStringLiteral("*.lm"), QStringLiteral("*.lm.DMP")},
                         QDir::Files, QDir::Name);
    for (const QString& candidate : candidates)
        if (!candidate.contains(QLatin1String("phone")))
            return folder.filePath(candidate);
    return {};
}

QString acousticModel(const QDir& folder) {
    for (const QString& sub : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (QFileInfo::exists(folder.filePath(sub + QStringLiteral("/mdef"))))
            return folder.filePath(sub);
    return {};
}

} // namespace

QString PocketSphinxModel::localeOfFolder(const QString& folder) {
    QStringList parts = folder.split(QLatin1Char('-'));
    parts.front() = parts.front().toLower();
    for (qsizetype i = 1; i < parts.size(); ++i)
        parts[i] = parts[i].size() == 2 ? parts[i].toUpper() : parts[i];
    return parts.join(QLatin1Char('-'));
}

std::vector<PocketSphinxModel> PocketSphinxModel::installed(const QString& root) {
    std::vector<PocketSphinxModel> models;
    const QDir rootFolder(root);
    for (const QString& name : rootFolder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QDir folder(rootFolder.filePath(name));
        const QStringList dictionaries = folder.entryList({QStringLiteral("*.dict")}, QDir::Files, QDir::Name);
        PocketSphinxModel model{localeOfFolder(name), acousticModel(folder), wordLanguageModel(folder),
                                dictionaries.isEmpty() ? QString() : folder.filePath(dictionaries.front())};
        if (!model.acoustic.isEmpty() && !model.languageModel.isEmpty() && !model.dictionary.isEmpty())
            models.push_back(model);
    }
    return models;
}

} // namespace lumeno
