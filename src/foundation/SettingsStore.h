#pragma once

#include "foundation/Hotkey.h"
#include "platform/DefaultsStore.h"

#include <QObject>
#include <optional>
#include <type_traits>

namespace lumeno {

class SecretStore;

// The user's settings. Every value is read from the defaults store once, when the store is built (a missing
// or unreadable value gives its default); each setter writes its key at once and tells observers only when
// the value really changed. Secrets go to the secret store, never into the settings file.
class SettingsStore : public QObject {
    Q_OBJECT
public:
    SettingsStore(DefaultsStore& defaults, SecretStore& secrets, QObject* parent = nullptr);

    // The value under `key` as a T (bool, QString, or a type with a static fromJson): none when the key is
    // missing or holds something else.
    template <typename T> static std::optional<T> load(const DefaultsStore& defaults, const QString& key);

    const Hotkey& hotkey() const { return hotkey_; }
    void setHotkey(const Hotkey& hotkey);
    // Whether the settings hold a hot key of the user's (or one chosen for them), not just the default.
    bool hasStoredHotkey() const;
    bool isPaused() const { return isPaused_; }
    void setPaused(bool paused);
    bool hasCompletedSetup() const { return hasCompletedSetup_; }
    void setHasCompletedSetup(bool completed);
    bool hasSeenGuide() const { return hasSeenGuide_; }
    void setHasSeenGuide(bool seen);
    // The speech locale identifier, such as "en-US" (key "speechLocale").
    const QString& speechLocaleID() const { return speechLocaleID_; }
    void setSpeechLocaleID(const QString& identifier);
    bool hasChosenSpeechLanguage() const { return hasChosenSpeechLanguage_; }
    void setHasChosenSpeechLanguage(bool chosen);
    const QString& speechEngine() const { return speechEngine_; }
    void setSpeechEngine(const QString& engine);
    const QString& cloudSpeechLanguage() const { return cloudSpeechLanguage_; }
    void setCloudSpeechLanguage(const QString& language);
    // "Use the conversation on screen": off means the screen is never read for context.
    bool readsConversation() const { return readsConversation_; }
    void setReadsConversation(bool reads);
    bool showsDraftDetails() const { return showsDraftDetails_; }
    void setShowsDraftDetails(bool shows);
    bool savesDraftDetails() const { return savesDraftDetails_; }
    void setSavesDraftDetails(bool saves);
    // The model provider's raw name: "anthropic" or "openai".
    const QString& provider() const { return provider_; }
    void setProvider(const QString& provider);
    const QString& anthropicModel() const { return anthropicModel_; }
    void setAnthropicModel(const QString& model);
    const QString& openAIModel() const { return openAIModel_; }
    void setOpenAIModel(const QString& model);
    bool didPromptAccessibility() const { return didPromptAccessibility_; }
    void setDidPromptAccessibility(bool prompted);
    // The code fingerprint of the build that Accessibility was last seen granted to; empty when never.
    const QString& accessibilityCodeHash() const { return accessibilityCodeHash_; }
    void setAccessibilityCodeHash(const QString& hash);
    // Whether learning from edits has been switched on once for this install (it is then the user's to
    // switch off, and is never forced on again).
    bool learnFromEditsDefaultOn() const { return learnFromEditsDefaultOn_; }
    void setLearnFromEditsDefaultOn(bool applied);
    // The version the user chose to skip with "Skip This Version"; empty when none. Background checks stay
    // quiet about it.
    const QString& skippedUpdateVersion() const { return skippedUpdateVersion_; }
    void setSkippedUpdateVersion(const QString& version);

    // The chosen speech language's name: the shipped reply language's name, else the locale's language in
    // English, else the identifier itself.
    QString speechLanguageName() const;

    SecretStore& secrets() const { return secrets_; }

signals:
    void hotkeyChanged();
    void isPausedChanged();
    void hasCompletedSetupChanged();
    void hasSeenGuideChanged();
    void speechLocaleIDChanged();
    void hasChosenSpeechLanguageChanged();
    void speechEngineChanged();
    void cloudSpeechLanguageChanged();
    void readsConversationChanged();
    void showsDraftDetailsChanged();
    void savesDraftDetailsChanged();
    void providerChanged();
    void anthropicModelChanged();
    void openAIModelChanged();
    void didPromptAccessibilityChanged();
    void accessibilityCodeHashChanged();
    void learnFromEditsDefaultOnChanged();
    void skippedUpdateVersionChanged();

private:
    template <typename T>
    void assign(T& field, const T& value, const QString& key, void (SettingsStore::*changed)());

    DefaultsStore& defaults_;
    SecretStore& secrets_;

    Hotkey hotkey_;
    bool isPaused_;
    bool hasCompletedSetup_;
    bool hasSeenGuide_;
    QString speechLocaleID_;
    bool hasChosenSpeechLanguage_;
    QString speechEngine_;
    QString cloudSpeechLanguage_;
    bool readsConversation_;
    bool showsDraftDetails_;
    bool savesDraftDetails_;
    QString provider_;
    QString anthropicModel_;
    QString openAIModel_;
    bool didPromptAccessibility_;
    QString accessibilityCodeHash_;
    bool learnFromEditsDefaultOn_;
    QString skippedUpdateVersion_;
};

template <typename T>
std::optional<T> SettingsStore::load(const DefaultsStore& defaults, const QString& key) {
    const std::optional<QJsonValue> stored = defaults.get(key);
    if (!stored)
        return std::nullopt;
    if constexpr (std::is_same_v<T, bool>)
        return stored->isBool() ? std::optional<bool>(stored->toBool()) : std::nullopt;
    else if constexpr (std::is_same_v<T, QString>)
        return stored->isString() ? std::optional<QString>(stored->toString()) : std::nullopt;
    else
        return T::fromJson(*stored);
}

} // namespace lumeno
