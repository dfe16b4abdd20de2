#include "foundation/SurfaceClassifier.h"

#include "foundation/KnownApps.h"
#include "foundation/KnownSites.h"
#include "support/Regex.h"
#include "support/Text.h"

namespace lumeno {

namespace {

struct TitleCue {
    Surface surface;
    Regex pattern;
};

// Tried in order on the folded title (lower case, no accents). Site and product names come first, as a
// browser puts them in the title of their pages; then words that mark a mail window, then chat words.
const std::vector<TitleCue>& titleCues() {
    static const std::vector<TitleCue> cues = {
        {Surface::linkedIn, Regex::fixed(QStringLiteral(R"(\blinkedin\b)"))},
        {Surface::email,
         Regex::fixed(QStringLiteral(
             R"(\b(?:gmail|outlook|yahoo mail|proton ?mail|fastmail|zoho mail|icloud mail|thunderbird|betterbird)"
             R"(|geary|kmail|mailspring|tuta(?:nota)?|roundcube|webmail)\b)"))},
        {Surface::chat,
         Regex::fixed(QStringLiteral(
             R"(\b(?:slack|discord|whatsapp|telegram|messenger|microsoft teams|google chat|google messages)"
             R"(|zulip|mattermost|rocket\.chat|skype|wechat|direct messages?)\b)"))},
        {Surface::email,
         Regex::fixed(QStringLiteral(
             R"((?:^|[\s:(\[])(?:re|fwd?|aw|wg|sv|tr|rv|write)\s?:)"
             R"(|\b(?:inbox|compose|new message|message|reply|forward|e-?mail|mail|posteingang|bandeja de entrada)"
             R"(|boite de reception|posta in arrivo|caixa de entrada|postvak in|inkorgen|prejeto)\b)"))},
        {Surface::chat,
         Regex::fixed(QStringLiteral(R"(\b(?:chats?|dms?|messages|conversations?|channels?)\b)"))},
    };
    return cues;
}

std::optional<Surface> surfaceOfTitle(const QString& title) {
    const QString folded = Text::folded(title);
    for (const TitleCue& cue : titleCues())
        if (cue.pattern.matchesAnywhere(folded))
            return cue.surface;
    return std::nullopt;
}

} // namespace

Surface SurfaceClassifier::classify(const std::optional<QString>& bundleID,
                                    const std::optional<QString>& windowTitle,
                                    const std::optional<QString>& url) {
    if (bundleID)
        if (const auto surface = KnownApps::surface(*bundleID))
            return *surface;
    if (url)
        if (const auto address = WebAddress::parse(*url))
            if (const auto surface = KnownSites::surface(*address))
                return *surface;
    if (windowTitle)
        if (const auto surface = surfaceOfTitle(*windowTitle))
            return *surface;
    return Surface::other;
}

const QSet<QString>& SurfaceClassifier::browsers() {
    return KnownApps::browsers();
}

bool SurfaceClassifier::isBrowser(const QString& bundleID) {
    return KnownApps::isListed(KnownApps::browsers(), bundleID);
}

} // namespace lumeno
