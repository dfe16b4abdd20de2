#include "foundation/ProviderTokens.h"

namespace lumeno {

namespace {

struct TokenShape {
    const char* name;
    const char* pattern;
};

// Patterns are case-sensitive: the prefixes are. A capture group marks a secret that follows a public part
// (a webhook's host and path) which stays readable.
constexpr TokenShape shapes[] = {
    // Digits are required where a hyphenated phrase could start the same way ("sk-", "xoxp-").
    {"model provider key", R"(sk-(?=[A-Za-z0-9_-]*[0-9])[A-Za-z0-9_-]{20,})"},
    {"Groq key", R"(gsk_[A-Za-z0-9]{40,})"},
    {"xAI key", R"(xai-[A-Za-z0-9]{40,})"},
    {"Hugging Face token", R"(hf_[A-Za-z0-9]{30,})"},
    {"AWS access key ID", R"((?:AKIA|ASIA|ABIA|ACCA|AGPA|AIDA|AIPA|ANPA|ANVA|APKA|AROA|ASCA)[A-Z0-9]{16})"},
    {"GitHub token", R"((?:ghp|gho|ghu|ghs|ghr)_[A-Za-z0-9]{36,}|github_pat_[A-Za-z0-9_]{22,})"},
    {"GitLab token", R"(gl(?:pat|dt|ptt|rt)-[A-Za-z0-9_-]{20,})"},
    {"Slack token", R"(xox[abposre]-(?=[A-Za-z0-9-]*[0-9])[A-Za-z0-9-]{10,}|xapp-[0-9]-[A-Za-z0-9-]{10,})"},
    {"Slack webhook", R"(hooks\.slack\.com/(?:services|workflows|triggers)/([A-Za-z0-9/_-]{20,}))"},
    {"Discord webhook", R"(discord(?:app)?\.com/api/webhooks/([0-9]+/[A-Za-z0-9_-]{30,}))"},
    {"Discord bot token", R"([MNO][A-Za-z0-9_-]{23,27}\.[A-Za-z0-9_-]{6}\.[A-Za-z0-9_-]{27,40})"},
    {"Telegram bot token", R"([0-9]{8,10}:AA[A-Za-z0-9_-]{33})"},
    {"Google API key", R"(AIza[0-9A-Za-z_-]{35})"},
    {"Google OAuth token", R"(ya29\.[0-9A-Za-z_-]{20,})"},
    {"Google OAuth client secret", R"(GOCSPX-[A-Za-z0-9_-]{24,})"},
    {"Stripe key", R"((?:sk|rk|pk)_(?:live|test)_[0-9A-Za-z]{16,}|whsec_[A-Za-z0-9]{24,})"},
    {"SendGrid key", R"(SG\.[A-Za-z0-9_-]{16,32}\.[A-Za-z0-9_-]{16,64})"},
    {"Twilio API key", R"(SK[0-9a-fA-F]{32})"},
    {"Mailgun key", R"(key-[0-9a-f]{32})"},
    {"npm token", R"(npm_[A-Za-z0-9]{36})"},
    {"PyPI token", R"(pypi-AgEIcHlwaS5vcmc[A-Za-z0-9_-]{50,})"},
    {"Shopify token", R"(shp(?:at|ca|pa|ss)_[a-fA-F0-9]{32})"},
    {"DigitalOcean token", R"(do[por]_v1_[a-f0-9]{64})"},
    {"Atlassian token", R"(ATATT3[A-Za-z0-9_=-]{50,})"},
    {"Linear key", R"(lin_api_[A-Za-z0-9]{40})"},
};

} // namespace

std::vector<SecretRule> ProviderTokens::rules() {
    std::vector<SecretRule> rules;
    for (const TokenShape& shape : shapes) {
        // A token is never a piece of a longer run of key characters.
        const QString pattern =
            QStringLiteral("(?<![A-Za-z0-9_-])(?:%1)(?![A-Za-z0-9_-])").arg(QString::fromUtf8(shape.pattern));
        rules.push_back(SecretRule::fixed(shape.name, pattern));
    }
    return rules;
}

} // namespace lumeno
