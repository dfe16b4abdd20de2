#include "foundation/KnownApps.h"

#include "support/Text.h"

namespace lumeno {

// The tables list one application per line, in all the forms it is reported by.
// clang-format off

namespace {

QSet<QString> setOf(std::initializer_list<const char*> ids) {
    QSet<QString> set;
    for (const char* id : ids)
        set.insert(QString::fromUtf8(id));
    return set;
}

const QSet<QString>& mailApps() {
    static const QSet<QString> ids = setOf({
        "thunderbird", "thunderbird-esr", "org.mozilla.thunderbird", "net.thunderbird.thunderbird",
        "mail", // Thunderbird's window instance name
        "betterbird", "eu.betterbird.betterbird",
        "evolution", "org.gnome.evolution",
        "geary", "org.gnome.geary",
        "kmail", "kmail2", "org.kde.kmail2", "kontact", "org.kde.kontact", "org.kde.merkuro.mail",
        "mailspring", "com.getmailspring.mailspring",
        "claws-mail", "org.claws_mail.claws-mail",
        "sylpheed", "balsa", "org.gnome.balsa", "trojita", "net.flaska.trojita",
        "bluemail", "net.blix.bluemail", "electron-mail", "prospect-mail",
        "proton-mail", "proton mail", "me.proton.mail",
        "tutanota-desktop", "tuta mail", "com.tutanota.tutanota",
    });
    return ids;
}

const QSet<QString>& chatApps() {
    static const QSet<QString> ids = setOf({
        "slack", "com.slack.slack",
        "discord", "discord-ptb", "discord-canary", "com.discordapp.discord", "vesktop", "dev.vencord.vesktop",
        "webcord", "io.github.spacingbat3.webcord", "legcord", "armcord",
        "signal", "signal-desktop", "signal-desktop-beta", "org.signal.signal", "flare", "de.schmidhuberj.flare",
        "telegram", "telegramdesktop", "telegram-desktop", "org.telegram.desktop", "kotatogram",
        "io.github.kotatogram", "ayugram", "materialgram",
        "element", "element-desktop", "im.riot.riot", "riot", "schildichat", "nheko",
        "io.github.nheko_reborn.nheko", "fractal", "org.gnome.fractal", "neochat", "org.kde.neochat",
        "cinny", "in.cinny.cinny",
        "teams-for-linux", "com.github.ismaelmartinez.teams_for_linux", "teams", "microsoft teams - preview",
        "whatsapp", "whatsapp-for-linux", "com.github.eneshecan.whatsappforlinux", "wasistlos",
        "com.github.xeco23.wasistlos", "whatsdesk", "zapzap", "com.rtosta.zapzap", "altus",
        "io.github.amanharwara.altus", "whatsapp-desktop-linux", "io.github.mimbrero.whatsappdesktop",
        "zulip", "org.zulip.zulip",
        "mattermost", "mattermost-desktop", "com.mattermost.desktop",
        "rocket.chat", "rocketchat", "chat.rocket.rocketchat",
        "skype", "skypeforlinux", "com.skype.client",
        "ferdium", "org.ferdium.ferdium", "franz", "com.meetfranz.franz", "rambox", "com.rambox.rambox",
        "beeper", "caprine", "com.sindresorhus.caprine", "viber", "com.viber.viber", "wire", "wire-desktop",
        "com.wire.wireapp", "threema", "session-desktop", "network.loki.session", "keybase", "jami",
        "net.jami.jami", "qtox", "io.github.qtox.qtox", "wechat", "com.tencent.wechat", "zoom", "us.zoom.zoom",
        "chatty", "sm.puri.chatty",
        "gajim", "org.gajim.gajim", "dino", "im.dino.dino", "pidgin", "im.pidgin.pidgin", "kaidan",
        "im.kaidan.kaidan",
        "hexchat", "io.github.hexchat", "konversation", "org.kde.konversation", "polari", "org.gnome.polari",
        "quassel", "quasselclient", "halloy", "org.squidowl.halloy",
    });
    return ids;
}

} // namespace

// clang-format on

QString KnownApps::normalizedID(const QString& appID) {
    QString id = Text::lowercased(Text::trimmed(appID));
    if (id.endsWith(QLatin1String(".desktop")))
        id.chop(8);
    if (!id.contains(u'.') && id.count(u'_') == 1 && !id.endsWith(u'_'))
        id = id.section(u'_', 1);
    return id;
}

QString KnownApps::baseID(const QString& normalizedID) {
    // clang-format off
    static const QStringList mozillaApps = {
        "thunderbird", "betterbird", "firefox", "librewolf", "waterfox", "floorp", "seamonkey", "icedove",
        "iceweasel",
    };
    static const QStringList channels = {
        "default", "esr", "stable", "beta", "nightly", "dev", "devedition", "developer-edition", "unstable",
        "canary", "snapshot", "preview", "bin",
    };
    // clang-format on
    for (const QString& app : mozillaApps)
        if (normalizedID.size() > app.size() + 1 && normalizedID.startsWith(app) && normalizedID.at(app.size()) == u'-')
            return app;
    for (const QString& channel : channels)
        if (normalizedID.endsWith(u'-' + channel) && normalizedID.size() > channel.size() + 1)
            return normalizedID.chopped(channel.size() + 1);
    return normalizedID;
}

bool KnownApps::isListed(const QSet<QString>& ids, const QString& appID) {
    const QString id = normalizedID(appID);
    return ids.contains(id) || ids.contains(baseID(id));
}

std::optional<Surface> KnownApps::surface(const QString& appID) {
    if (isListed(mailApps(), appID))
        return Surface::email;
    if (isListed(chatApps(), appID))
        return Surface::chat;
    return std::nullopt;
}

const QSet<QString>& KnownApps::browsers() {
    // clang-format off
    static const QSet<QString> ids = setOf({
        "firefox", "firefox-esr", "firefox-developer-edition", "firefox-nightly", "firefox-beta",
        "org.mozilla.firefox",
        "navigator", // Firefox's window instance name
        "librewolf", "io.gitlab.librewolf-community", "waterfox", "net.waterfox.waterfox", "floorp",
        "one.ablaze.floorp", "zen", "zen-browser", "zen-alpha", "zen-beta", "app.zen_browser.zen",
        "mullvad browser", "mullvadbrowser", "tor browser", "torbrowser",
        "com.github.micahflee.torbrowser-launcher", "seamonkey", "palemoon",
        "chromium", "chromium-browser", "org.chromium.chromium", "ungoogled-chromium",
        "io.github.ungoogled_software.ungoogled_chromium", "thorium-browser",
        "google-chrome", "google-chrome-stable", "google-chrome-beta", "google-chrome-unstable",
        "com.google.chrome",
        "brave", "brave-browser", "brave-browser-beta", "brave-browser-nightly", "com.brave.browser",
        "microsoft-edge", "microsoft-edge-stable", "microsoft-edge-beta", "microsoft-edge-dev",
        "com.microsoft.edge",
        "vivaldi", "vivaldi-stable", "vivaldi-snapshot", "com.vivaldi.vivaldi",
        "opera", "opera-beta", "com.opera.opera", "yandex-browser", "yandex-browser-stable",
        "epiphany", "org.gnome.epiphany", "falkon", "org.kde.falkon", "konqueror", "org.kde.konqueror",
        "org.kde.angelfish", "angelfish", "qutebrowser", "org.qutebrowser.qutebrowser", "midori",
        "org.midori_browser.midori", "min", "nyxt",
    });
    // clang-format on
    return ids;
}

} // namespace lumeno
