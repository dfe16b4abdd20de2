#pragma once

#include <QString>
#include <QStringList>

namespace lumeno {

// The keys of the settings file. The former product used the same ones, and the migration copies them, so
// they never change.
namespace SettingsKey {
inline const QString hotkey = QStringLiteral("hotkey");
inline const QString paused = QStringLiteral("paused");
inline const QString hasCompletedSetup = QStringLiteral("hasCompletedSetup");
inline const QString hasSeenGuide = QStringLiteral("hasSeenGuide");
inline const QString speechLocale = QStringLiteral("speechLocale");
inline const QString hasChosenSpeechLanguage = QStringLiteral("hasChosenSpeechLanguage");
inline const QString speechEngine = QStringLiteral("speechEngine");
inline const QString cloudSpeechLanguage = QStringLiteral("cloudSpeechLanguage");
inline const QString readsConversation = QStringLiteral("readsConversation");
inline const QString showsDraftDetails = QStringLiteral("showsDraftDetails");
inline const QString savesDraftDetails = QStringLiteral("savesDraftDetails");
inline const QString provider = QStringLiteral("provider");
inline const QString anthropicModel = QStringLiteral("anthropicModel");
inline const QString openAIModel = QStringLiteral("openAIModel");
inline const QString didPromptAccessibility = QStringLiteral("didPromptAccessibility");
inline const QString accessibilityCodeHash = QStringLiteral("accessibilityCodeHash");
inline const QString learnFromEditsDefaultOn = QStringLiteral("learnFromEditsDefaultOn");
// The update the user chose to skip; ours alone, so the migration has nothing to copy.
inline const QString skippedUpdateVersion = QStringLiteral("skippedUpdateVersion");

// Every setting above; the migration marker below is not a setting and is never copied.
inline const QStringList all = {
    hotkey,
    paused,
    hasCompletedSetup,
    hasSeenGuide,
    speechLocale,
    hasChosenSpeechLanguage,
    speechEngine,
    cloudSpeechLanguage,
    readsConversation,
    showsDraftDetails,
    savesDraftDetails,
    provider,
    anthropicModel,
    openAIModel,
    didPromptAccessibility,
    accessibilityCodeHash,
    learnFromEditsDefaultOn,
};

inline const QString migratedFromVestrel = QStringLiteral("MigratedFromVestrel");
} // namespace SettingsKey

} // namespace lumeno
