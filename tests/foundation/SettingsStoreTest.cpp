#include "foundation/SettingsStore.h"

#include "foundation/SettingsKeys.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeSecretStore.h"
#include "platform/linux/LinuxDefaultsStore.h"
#include "support/Clock.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumeno {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    FakeDefaultsStore defaults;
    FakeSecretStore secrets;
};

TEST_F(SettingsStoreTest, EveryKeyHasItsDefaultOnAFreshInstall) {
    const SettingsStore settings(defaults, secrets);
    EXPECT_EQ(settings.hotkey(), Hotkey::modifier(ModifierKey::rightOption));
    EXPECT_FALSE(settings.isPaused());
    EXPECT_FALSE(settings.hasCompletedSetup());
    EXPECT_FALSE(settings.hasSeenGuide());
    EXPECT_EQ(settings.speechLocaleID(), "en-US");
    EXPECT_FALSE(settings.hasChosenSpeechLanguage());
    EXPECT_EQ(settings.speechEngine(), "onDevice");
    EXPECT_EQ(settings.cloudSpeechLanguage(), "");
    EXPECT_TRUE(settings.readsConversation());
    EXPECT_FALSE(settings.showsDraftDetails());
    EXPECT_FALSE(settings.savesDraftDetails());
    EXPECT_EQ(settings.provider(), "anthropic");
    EXPECT_FALSE(settings.anthropicModel().isEmpty());
    EXPECT_FALSE(settings.openAIModel().isEmpty());
    EXPECT_FALSE(settings.didPromptAccessibility());
    EXPECT_EQ(settings.accessibilityCodeHash(), "");
    EXPECT_FALSE(settings.learnFromEditsDefaultOn());
    EXPECT_EQ(settings.speechLanguageName(), "English");
    // Reading defaults writes nothing.
    EXPECT_EQ(defaults.writeCount(), 0);
}

TEST_F(SettingsStoreTest, StoredValuesOfTheWrongTypeFallBackToTheirDefaults) {
    defaults.set(SettingsKey::paused, "yes");
    defaults.set(SettingsKey::readsConversation, 0);
    defaults.set(SettingsKey::speechLocale, true);
    defaults.set(SettingsKey::hotkey, QJsonObject{{"modifier", "leftShift"}});
    const SettingsStore settings(defaults, secrets);
    EXPECT_FALSE(settings.isPaused());
    EXPECT_TRUE(settings.readsConversation());
    EXPECT_EQ(settings.speechLocaleID(), "en-US");
    EXPECT_EQ(settings.hotkey(), Hotkey::modifier(ModifierKey::rightOption));
}

TEST_F(SettingsStoreTest, LoadGivesNoneForMissingOrUndecodableValues) {
    defaults.set("flag", true);
    defaults.set("text", "hello");
    defaults.set("hotkey", QJsonObject{{"modifier", "fn"}});
    EXPECT_EQ(SettingsStore::load<bool>(defaults, "flag"), true);
    EXPECT_EQ(SettingsStore::load<QString>(defaults, "text"), "hello");
    EXPECT_EQ(SettingsStore::load<Hotkey>(defaults, "hotkey"), Hotkey::modifier(ModifierKey::fn));
    EXPECT_EQ(SettingsStore::load<bool>(defaults, "missing"), std::nullopt);
    EXPECT_EQ(SettingsStore::load<bool>(defaults, "text"), std::nullopt);
    EXPECT_EQ(SettingsStore::load<QString>(defaults, "flag"), std::nullopt);
    EXPECT_EQ(SettingsStore::load<Hotkey>(defaults, "text"), std::nullopt);
}

TEST_F(SettingsStoreTest, SettersWriteAtOnceAndNotifyOnlyOnChange) {
    SettingsStore settings(defaults, secrets);
    QSignalSpy paused(&settings, &SettingsStore::isPausedChanged);
    QSignalSpy locale(&settings, &SettingsStore::speechLocaleIDChanged);
    QSignalSpy hotkey(&settings, &SettingsStore::hotkeyChanged);
    QSignalSpy setup(&settings, &SettingsStore::hasCompletedSetupChanged);

    settings.setPaused(false); // already false
    settings.setSpeechLocaleID("en-US");
    settings.setHotkey(Hotkey());
    EXPECT_EQ(paused.count() + locale.count() + hotkey.count(), 0);
    EXPECT_EQ(defaults.writeCount(), 0);

    settings.setPaused(true);
    settings.setSpeechLocaleID("sl-SI");
    const Hotkey combo = Hotkey::combo({VirtualKey::space, VirtualKey::controlFlag});
    settings.setHotkey(combo);
    EXPECT_EQ(paused.count(), 1);
    EXPECT_EQ(locale.count(), 1);
    EXPECT_EQ(hotkey.count(), 1);
    EXPECT_EQ(setup.count(), 0);
    EXPECT_EQ(defaults.get(SettingsKey::paused), QJsonValue(true));
    EXPECT_EQ(defaults.get(SettingsKey::speechLocale), QJsonValue("sl-SI"));
    EXPECT_EQ(defaults.get(SettingsKey::hotkey), combo.toJson());

    settings.setPaused(true);
    settings.setHotkey(combo);
    EXPECT_EQ(paused.count(), 1);
    EXPECT_EQ(hotkey.count(), 1);
    EXPECT_EQ(defaults.writeCount(), 3);
}

TEST_F(SettingsStoreTest, SpeechLanguageNameComesFromTheReplyTableThenTheLocale) {
    SettingsStore settings(defaults, secrets);
    const std::pair<const char*, const char*> cases[] = {
        {"sl-SI", "Slovenian"}, {"nb-NO", "Norwegian"}, {"zh-Hant-TW", "Chinese"},
        {"ca-ES", "Catalan"},   {"xx-YY", "xx-YY"},     {"", ""},
    };
    for (const auto& [identifier, name] : cases) {
        settings.setSpeechLocaleID(identifier);
        EXPECT_EQ(settings.speechLanguageName(), name) << identifier;
    }
}

// The real settings file: what one run sets, the next run reads.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    QTemporaryDir home;
    ManualClock clock;
    FakeSecretStore secrets;
};

TEST_F(SettingsFileTest, EverySettingSurvivesARestart) {
    const QString path = LinuxDefaultsStore::domainPath("Lumeno");
    EXPECT_EQ(path, home.filePath("Lumeno/defaults.json"));
    const Hotkey combo = Hotkey::combo({VirtualKey::ansiR, VirtualKey::commandFlag | VirtualKey::shiftFlag});
    {
        LinuxDefaultsStore defaults(path, clock);
        SettingsStore settings(defaults, secrets);
        settings.setHotkey(combo);
        settings.setPaused(true);
        settings.setHasCompletedSetup(true);
        settings.setHasSeenGuide(true);
        settings.setSpeechLocaleID("de-AT");
        settings.setHasChosenSpeechLanguage(true);
        settings.setSpeechEngine("cloud");
        settings.setCloudSpeechLanguage("de");
        settings.setReadsConversation(false);
        settings.setShowsDraftDetails(true);
        settings.setSavesDraftDetails(true);
        settings.setProvider("openai");
        settings.setAnthropicModel("model-a");
        settings.setOpenAIModel("model-o");
        settings.setDidPromptAccessibility(true);
        settings.setAccessibilityCodeHash("abc123");
        settings.setLearnFromEditsDefaultOn(true);
    }
    LinuxDefaultsStore defaults(path, clock);
    const SettingsStore settings(defaults, secrets);
    EXPECT_EQ(settings.hotkey(), combo);
    EXPECT_TRUE(settings.isPaused());
    EXPECT_TRUE(settings.hasCompletedSetup());
    EXPECT_TRUE(settings.hasSeenGuide());
    EXPECT_EQ(settings.speechLocaleID(), "de-AT");
    EXPECT_TRUE(settings.hasChosenSpeechLanguage());
    EXPECT_EQ(settings.speechEngine(), "cloud");
    EXPECT_EQ(settings.cloudSpeechLanguage(), "de");
    EXPECT_FALSE(settings.readsConversation());
    EXPECT_TRUE(settings.showsDraftDetails());
    EXPECT_TRUE(settings.savesDraftDetails());
    EXPECT_EQ(settings.provider(), "openai");
    EXPECT_EQ(settings.anthropicModel(), "model-a");
    EXPECT_EQ(settings.openAIModel(), "model-o");
    EXPECT_TRUE(settings.didPromptAccessibility());
    EXPECT_EQ(settings.accessibilityCodeHash(), "abc123");
    EXPECT_TRUE(settings.learnFromEditsDefaultOn());
    EXPECT_EQ(settings.speechLanguageName(), "German");
}

TEST_F(SettingsFileTest, AnUndecodableHotkeyInTheFileGivesTheDefaultAndKeepsTheOtherSettings) {
    const QString path = LinuxDefaultsStore::domainPath("Lumeno");
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"hotkey": {"combo": {"keyCode": "space"}}, "paused": true})");
    file.close();

    LinuxDefaultsStore defaults(path, clock);
    const SettingsStore settings(defaults, secrets);
    EXPECT_EQ(settings.hotkey(), Hotkey::modifier(ModifierKey::rightOption));
    EXPECT_TRUE(settings.isPaused());
}

} // namespace
} // namespace lumeno
