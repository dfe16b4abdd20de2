#include "foundation/KnownSites.h"

namespace lumeno {

namespace {

struct Site {
    // Matches the domain and its subdomains.
    const char* domain;
    Surface surface;
    // When set, only this part of the site.
    const char* path = nullptr;
    const char* fragmentPrefix = nullptr;

    bool matches(const WebAddress& address) const {
        return address.isOnDomain(QLatin1String(domain)) &&
               (!path || address.pathIsUnder(QLatin1String(path))) &&
               (!fragmentPrefix || address.fragment.startsWith(QLatin1String(fragmentPrefix)));
    }
};

// Searched in order: the chat parts of mail sites and the message parts of social sites come before the
// site as a whole.
const Site sites[] = {
    {"mail.google.com", Surface::chat, "/chat"},
    {"mail.google.com", Surface::chat, nullptr, "chat/"},
    {"facebook.com", Surface::chat, "/messages"},
    {"instagram.com", Surface::chat, "/direct"},
    {"x.com", Surface::chat, "/messages"},
    {"twitter.com", Surface::chat, "/messages"},
    {"icloud.com", Surface::email, "/mail"},

    {"linkedin.com", Surface::linkedIn},

    {"mail.google.com", Surface::email},
    {"outlook.live.com", Surface::email},
    {"outlook.office.com", Surface::email},
    {"outlook.office365.com", Surface::email},
    {"outlook.cloud.microsoft", Surface::email},
    {"mail.yahoo.com", Surface::email},
    {"mail.aol.com", Surface::email},
    {"proton.me", Surface::email},
    {"protonmail.com", Surface::email},
    {"fastmail.com", Surface::email},
    {"hey.com", Surface::email},
    {"tuta.com", Surface::email},
    {"tutanota.com", Surface::email},
    {"mailbox.org", Surface::email},
    {"posteo.de", Surface::email},
    {"gmx.net", Surface::email},
    {"gmx.de", Surface::email},
    {"gmx.com", Surface::email},
    {"gmx.at", Surface::email},
    {"gmx.ch", Surface::email},
    {"web.de", Surface::email},
    {"mail.ru", Surface::email},
    {"email.seznam.cz", Surface::email},

    {"slack.com", Surface::chat},
    {"discord.com", Surface::chat},
    {"discordapp.com", Surface::chat},
    {"web.whatsapp.com", Surface::chat},
    {"web.telegram.org", Surface::chat},
    {"teams.microsoft.com", Surface::chat},
    {"teams.live.com", Surface::chat},
    {"teams.cloud.microsoft", Surface::chat},
    {"messenger.com", Surface::chat},
    {"chat.google.com", Surface::chat},
    {"messages.google.com", Surface::chat},
    {"voice.google.com", Surface::chat},
    {"app.element.io", Surface::chat},
    {"develop.element.io", Surface::chat},
    {"app.cinny.in", Surface::chat},
    {"zulipchat.com", Surface::chat},
    {"chat.zulip.org", Surface::chat},
    {"web.skype.com", Surface::chat},
    {"cloud.mattermost.com", Surface::chat},
    {"rocket.chat", Surface::chat},
    {"app.wire.com", Surface::chat},
    {"web.wechat.com", Surface::chat},
    {"chat.reddit.com", Surface::chat},
};

// Self-hosted and lesser-known web mail lives on hosts like mail.example.org or webmail.example.net.
bool isMailHost(const QString& host) {
    const QString first = host.section(u'.', 0, 0);
    return host.contains(u'.') && (first == QLatin1String("mail") || first == QLatin1String("webmail") ||
                                   first == QLatin1String("email") || first == QLatin1String("owa"));
}

} // namespace

std::optional<Surface> KnownSites::surface(const WebAddress& address) {
    for (const Site& site : sites)
        if (site.matches(address))
            return site.surface;
    if (isMailHost(address.host))
        return Surface::email;
    return std::nullopt;
}

} // namespace lumeno
