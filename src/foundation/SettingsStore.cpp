#include "foundation/SettingsStore.h"

#include "foundation/ReplyLanguage.h"
#include "foundation/SettingsKeys.h"

#include <QLocale>

namespace lumeno {

SettingsStore::SettingsStore(DefaultsStore& defaults, SecretStore& secrets, QObject* parent)
    : QObject(parent), defaults_(defaults), secrets_(secrets),
      hotkey_(
          load<Hotkey>(defaults, SettingsKey::hotkey).value_or(Hotkey::modifier(ModifierKey::rightOption))),
      isPaused_(load<bool>(defaults, SettingsKey::paused).value_or(false)),
      hasCompletedSetup_(load<bool>(defaults, SettingsKey::hasCompletedSetup).value_or(false)),
      hasSeenGuide_(load<bool>(defaults, SettingsKey::hasSeenGuide).value_or(false)),
      speechLocaleID_(load<QString>(defaults, SettingsKey::speechLocale).value_or(QStringLiteral("en-US"))),
      hasChosenSpeechLanguage_(load<bool>(defaults, SettingsKey::hasChosenSpeechLanguage).value_or(false)),
      speechEngine_(load<QString>(defaults, SettingsKey::speechEngine).value_or(QStringLiteral("onDevice"))),
      cloudSpeechLanguage_(load<QString>(defaults, SettingsKey::cloudSpeechLanguage).value_or(QString())),
      readsConversation_(load<bool>(defaults, SettingsKey::readsConversation).value_or(true)),
      showsDraftDetails_(load<bool>(defaults, SettingsKey::showsDraftDetails).value_or(false)),
      savesDraftDetails_(load<bool>(defaults, SettingsKey::savesDraftDetails).value_or(false)),
      provider_(load<QString>(defaults, SettingsKey::provider).value_or(QStringLiteral("anthropic"))),
      anthropicModel_(
          load<QString>(defaults, SettingsKey::anthropicModel).value_or(QStringLiteral("claude-sonnet-4-5"))),
      openAIModel_(load<QString>(defaults, SettingsKey::openAIModel).value_or(QStringLiteral("gpt-5-mini"))),
      didPromptAccessibility_(load<bool>(defaults, SettingsKey::didPromptAccessibility).value_or(false)),
      accessibilityCodeHash_(load<QString>(defaults, SettingsKey::accessibilityCodeHash).value_or(QString())),
      learnFromEditsDefaultOn_(load<bool>(defaults, SettingsKey::learnFromEditsDefaultOn).value_or(false)),
      skippedUpdateVersion_(load<QString>(defaults, SettingsKey::skippedUpdateVersion).value_or(QString())) {}

template <typename T>
void SettingsStore::assign(T& field, const T& value, const QString& key, void (SettingsStore::*changed)()) {
    if (field == value)
        return;
    field = value;
    if constexpr (std::is_same_v<T, Hotkey>)
        defaults_.set(key, value.toJson());
    else
        defaults_.set(key, QJsonValue(value));
    emit(this->*changed)();
}

void SettingsStore::setHotkey(const Hotkey& hotkey) {
    assign(hotkey_, hotkey, SettingsKey::hotkey, &SettingsStore::hotkeyChanged);
}

bool SettingsStore::hasStoredHotkey() const {
    return load<Hotkey>(defaults_, SettingsKey::hotkey).has_value();
}

void SettingsStore::setPaused(bool paused) {
    assign(isPaused_, paused, SettingsKey::paused, &SettingsStore::isPausedChanged);
}

void SettingsStore::setHasCompletedSetup(bool completed) {
    assign(hasCompletedSetup_, completed, SettingsKey::hasCompletedSetup,
           &SettingsStore::hasCompletedSetupChanged);
}

void SettingsStore::setHasSeenGuide(bool seen) {
    assign(hasSeenGuide_, seen, SettingsKey::hasSeenGuide, &SettingsStore::hasSeenGuideChanged);
}

void SettingsStore::setSpeechLocaleID(const QString& identifier) {
    assign(speechLocaleID_, identifier, SettingsKey::speechLocale, &SettingsStore::speechLocaleIDChanged);
}

void SettingsStore::setHasChosenSpeechLanguage(bool chosen) {
    assign(hasChosenSpeechLanguage_, chosen, SettingsKey::hasChosenSpeechLanguage,
           &SettingsStore::hasChosenSpeechLanguageChanged);
}

void SettingsStore::setSpeechEngine(const QString& engine) {
    assign(speechEngine_, engine, SettingsKey::speechEngine, &SettingsStore::speechEngineChanged);
}

void SettingsStore::setCloudSpeechLanguage(const QString& language) {
    assign(cloudSpeechLanguage_, language, SettingsKey::cloudSpeechLanguage,
           &SettingsStore::cloudSpeechLanguageChanged);
}

void SettingsStore::setReadsConversation(bool reads) {
    assign(readsConversation_, reads, SettingsKey::readsConversation,
           &SettingsStore::readsConversationChanged);
}

void SettingsStore::setShowsDraftDetails(bool shows) {
    assign(showsDraftDetails_, shows, SettingsKey::showsDraftDetails,
           &SettingsStore::showsDraftDetailsChanged);
}

void SettingsStore::setSavesDraftDetails(bool saves) {
    assign(savesDraftDetails_, saves, SettingsKey::savesDraftDetails,
           &SettingsStore::savesDraftDetailsChanged);
}

void SettingsStore::setProvider(const QString& provider) {
    assign(provider_, provider, SettingsKey::provider, &SettingsStore::providerChanged);
}

void SettingsStore::setAnthropicModel(const QString& model) {
    assign(anthropicModel_, model, SettingsKey::anthropicModel, &SettingsStore::anthropicModelChanged);
}

void SettingsStore::setOpenAIModel(const QString& model) {
    assign(openAIModel_, model, SettingsKey::openAIModel, &SettingsStore::openAIModelChanged);
}

void SettingsStore::setDidPromptAccessibility(bool prompted) {
    assign(didPromptAccessibility_, prompted, SettingsKey::didPromptAccessibility,
           &SettingsStore::didPromptAccessibilityChanged);
}

void SettingsStore::setAccessibilityCodeHash(const QString& hash) {
    assign(accessibilityCodeHash_, hash, SettingsKey::accessibilityCodeHash,
           &SettingsStore::accessibilityCodeHashChanged);
}

void SettingsStore::setLearnFromEditsDefaultOn(bool applied) {
    assign(learnFromEditsDefaultOn_, applied, SettingsKey::learnFromEditsDefaultOn,
           &SettingsStore::learnFromEditsDefaultOnChanged);
}

void SettingsStore::setSkippedUpdateVersion(const QString& version) {
    assign(skippedUpdateVersion_, version, SettingsKey::skippedUpdateVersion,
           &SettingsStore::skippedUpdateVersionChanged);
}

QString SettingsStore::speechLanguageName() const {
    if (const auto code = ReplyLanguage::codeMatching(speechLocaleID_))
        return ReplyLanguage::withCode(*code)->name;
    const QLocale locale(speechLocaleID_);
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return speechLocaleID_;
    return QLocale::languageToString(locale.language());
}

} // namespace lumeno
