#pragma once

#include <QString>
#include <optional>

namespace lumeno {

// The parts of a web page's address that say which site and which part of it a field is on.
struct WebAddress {
    // Lower case, without a leading "www." or a trailing dot.
    QString host;
    QString path;
    QString fragment;

    // None when the text has no host. An address without a scheme ("mail.google.com/mail") is read as
    // https, as browsers show it that way.
    static std::optional<WebAddress> parse(const QString& url);

    // True for `domain` itself and any of its subdomains; "evil-linkedin.com" is not a subdomain of
    // "linkedin.com".
    bool isOnDomain(const QString& domain) const;
    // True when the path is `prefix` or lies below it ("/messages", "/messages/t/1"; not "/messagesx").
    bool pathIsUnder(const QString& prefix) const;

    bool operator==(const WebAddress&) const = default;
};

} // namespace lumeno
