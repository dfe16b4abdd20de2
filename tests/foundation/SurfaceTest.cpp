#include "foundation/Surface.h"

#include "foundation/ModifierKey.h"
#include "foundation/SettingsTab.h"
#include "foundation/SurfaceClassifier.h"
#include "testsupport/StoredNames.h"

#include <gtest/gtest.h>

namespace lumeno {
namespace {

std::optional<QString> text(const char* value) {
    return value ? std::optional<QString>(QString::fromUtf8(value)) : std::nullopt;
}

struct Field {
    const char* bundleID;
    const char* windowTitle;
    const char* url;
    Surface expected;
};

void PrintTo(const Field& f, std::ostream* os) {
    *os << (f.bundleID ? f.bundleID : "-") << " | " << (f.windowTitle ? f.windowTitle : "-") << " | "
        << (f.url ? f.url : "-");
}

class Classifies : public ::testing::TestWithParam<Field> {};

TEST_P(Classifies, Field) {
    const Field& field = GetParam();
    const Surface surface =
        SurfaceClassifier::classify(text(field.bundleID), text(field.windowTitle), text(field.url));
    EXPECT_EQ(rawValue(surface).toStdString(), rawValue(field.expected).toStdString());
}

// Applications in every form the desktop reports them: .desktop id, Flatpak id, window class, Snap.
INSTANTIATE_TEST_SUITE_P(
    Applications, Classifies,
    ::testing::Values(Field{"org.gnome.Evolution", nullptr, nullptr, Surface::email},
                      Field{"Thunderbird", nullptr, nullptr, Surface::email},
                      Field{"thunderbird.desktop", nullptr, nullptr, Surface::email},
                      Field{"thunderbird_thunderbird", nullptr, nullptr, Surface::email},
                      Field{"org.mozilla.Thunderbird", nullptr, nullptr, Surface::email},
                      // Thunderbird's window class carries its profile; channels carry their name.
                      Field{"thunderbird-default", nullptr, nullptr, Surface::email},
                      Field{"Thunderbird-work", nullptr, nullptr, Surface::email},
                      Field{"betterbird-beta", nullptr, nullptr, Surface::email},
                      Field{"discord-canary", nullptr, nullptr, Surface::chat},
                      Field{"signal-desktop-beta", nullptr, nullptr, Surface::chat},
                      Field{"thunderbirds", nullptr, nullptr, Surface::other},
                      Field{"org.kde.kmail2", nullptr, nullptr, Surface::email},
                      Field{"geary", nullptr, nullptr, Surface::email},
                      Field{"Slack", nullptr, nullptr, Surface::chat},
                      Field{"com.slack.Slack", nullptr, nullptr, Surface::chat},
                      Field{"TelegramDesktop", nullptr, nullptr, Surface::chat},
                      Field{"signal-desktop_signal-desktop", nullptr, nullptr, Surface::chat},
                      Field{"im.riot.Riot", nullptr, nullptr, Surface::chat},
                      Field{"com.discordapp.Discord", nullptr, nullptr, Surface::chat},
                      Field{"hexchat", nullptr, nullptr, Surface::chat},
                      Field{" Rocket.Chat ", nullptr, nullptr, Surface::chat},
                      // The application decides even when the page or title says otherwise.
                      Field{"thunderbird", "general | Acme - Slack", "https://app.slack.com/client",
                            Surface::email},
                      Field{"org.gnome.TextEditor", nullptr, nullptr, Surface::other},
                      Field{nullptr, nullptr, nullptr, Surface::other}));

// In a browser the page's host decides: subdomains count, "www." is ignored, lookalikes never match, and
// sites that hold both mail and chat are told apart by their path.
INSTANTIATE_TEST_SUITE_P(
    WebHosts, Classifies,
    ::testing::Values(
        Field{"firefox", nullptr, "https://mail.google.com/mail/u/0/#inbox", Surface::email},
        Field{"firefox", nullptr, "https://mail.google.com/chat/u/0/#chat/space/AAA", Surface::chat},
        Field{"firefox", nullptr, "https://mail.google.com/mail/u/0/#chat/dm/xyz", Surface::chat},
        Field{"google-chrome", nullptr, "mail.google.com/mail/u/1", Surface::email},
        Field{"google-chrome", nullptr, "HTTPS://MAIL.GOOGLE.COM./mail/", Surface::email},
        Field{"firefox", nullptr, "https://outlook.office.com/mail/inbox", Surface::email},
        Field{"firefox", nullptr, "https://mail.zoho.eu/zm/", Surface::email},
        Field{"firefox", nullptr, "https://webmail.example.org:8443/?_task=mail", Surface::email},
        Field{"firefox", nullptr, "https://www.icloud.com/mail/", Surface::email},
        Field{"firefox", nullptr, "https://www.icloud.com/photos/", Surface::other},
        Field{"firefox", nullptr, "https://app.slack.com/client/T01/C02", Surface::chat},
        Field{"firefox", nullptr, "https://acme.slack.com/archives/C02", Surface::chat},
        Field{"firefox", nullptr, "https://user@app.slack.com/", Surface::chat},
        Field{"firefox", nullptr, "https://web.whatsapp.com/", Surface::chat},
        Field{"firefox", nullptr, "https://www.facebook.com/messages/t/1234", Surface::chat},
        Field{"firefox", nullptr, "https://www.facebook.com/messagesx", Surface::other},
        Field{"firefox", nullptr, "https://www.facebook.com/groups/1", Surface::other},
        Field{"firefox", nullptr, "https://www.instagram.com/direct/inbox/", Surface::chat},
        Field{"firefox", nullptr, "https://acme.zulipchat.com/#narrow", Surface::chat},
        Field{"firefox", nullptr, "https://www.linkedin.com/messaging/thread/1/", Surface::linkedIn},
        Field{"firefox", nullptr, "https://de.linkedin.com/in/someone", Surface::linkedIn},
        Field{"firefox", nullptr, "https://evil-linkedin.com/messaging", Surface::other},
        Field{"firefox", nullptr, "https://linkedin.com.evil.example/", Surface::other},
        Field{"firefox", nullptr, "https://notslack.com/", Surface::other},
        Field{"firefox", nullptr, "https://slack.com.evil.io/", Surface::other},
        // An unknown site falls back to the window title.
        Field{"firefox", "Inbox - Roundcube Webmail — Mozilla Firefox", "https://example.org/rc/",
              Surface::email},
        Field{"firefox", "Wikipedia — Mozilla Firefox", "https://en.wikipedia.org/wiki/Mail", Surface::other},
        Field{"firefox", "Inbox (3) - Gmail", "not a web address", Surface::email}));

// Without a known application or site, cues in the title decide, product names before generic words.
INSTANTIATE_TEST_SUITE_P(
    WindowTitles, Classifies,
    ::testing::Values(Field{nullptr, "Inbox (3) - bob@example.com - Gmail", nullptr, Surface::email},
                      Field{"some.app", "Re: Lunch on Friday", nullptr, Surface::email},
                      Field{"some.app", "Fwd: invoice", nullptr, Surface::email},
                      Field{"some.app", "Write: (no subject) - Mozilla Thunderbird", nullptr, Surface::email},
                      Field{"some.app", "Posteingang – GMX", nullptr, Surface::email},
                      Field{"some.app", "Boîte de réception", nullptr, Surface::email},
                      Field{"some.app", "general | Acme - Slack", nullptr, Surface::chat},
                      Field{"some.app", "Direct Messages", nullptr, Surface::chat},
                      Field{"some.app", "(2) Messages", nullptr, Surface::chat},
                      Field{"some.app", "Feed | LinkedIn", nullptr, Surface::linkedIn},
                      Field{"some.app", "Document1 - LibreOffice Writer", nullptr, Surface::other},
                      Field{"some.app", "Area 51: a history", nullptr, Surface::other},
                      Field{"firefox", nullptr, nullptr, Surface::other}));

TEST(SurfaceClassifier, RecognisesBrowsersInEveryForm) {
    for (const char* id : {"Google-chrome", "firefox_firefox", "org.mozilla.Firefox.desktop", " Navigator"})
        EXPECT_TRUE(SurfaceClassifier::isBrowser(QString::fromUtf8(id))) << id;
    for (const char* id : {"thunderbird", "slack", "", "firefoxx"})
        EXPECT_FALSE(SurfaceClassifier::isBrowser(QString::fromUtf8(id))) << id;
    // Variants name their windows after a profile or a channel.
    for (const char* id : {"firefox-default", "Firefox-Nightly", "librewolf-work", "firefox-2", "brave-browser-beta",
                           "google-chrome-unstable", "chromium-dev"})
        EXPECT_TRUE(SurfaceClassifier::isBrowser(QString::fromUtf8(id))) << id;
    for (const char* id : {"firefox-", "-beta", "thunderbird-default", "firefoxen-beta"})
        EXPECT_FALSE(SurfaceClassifier::isBrowser(QString::fromUtf8(id))) << id;
}

// The names settings and records store, exactly; nothing else reads back, whatever its case or prefix.
TEST(RawValues, StoredNames) {
    EXPECT_EQ(testing::storedNames<Surface>(), "email chat linkedIn other");
    EXPECT_EQ(testing::storedNames<SettingsTab>(), "general account more style permissions");
    EXPECT_EQ(testing::storedNames<ModifierKey>(), "rightOption rightCommand rightControl fn");
    for (const char* raw : {"linkedin", "Email", "", " chat", "others", "lumeno::chat", "SurfaceEnum::chat"})
        EXPECT_EQ(fromRawValue<Surface>(QString::fromUtf8(raw)), std::nullopt) << raw;
}

} // namespace
} // namespace lumeno
