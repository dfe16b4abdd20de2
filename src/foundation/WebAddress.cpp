#include "foundation/WebAddress.h"

#include <QUrl>

namespace lumeno {

std::optional<WebAddress> WebAddress::parse(const QString& url) {
    const QString trimmed = url.trimmed();
    const QUrl parsed(trimmed.contains(QLatin1String("://")) ? trimmed
                                                             : QStringLiteral("https://") + trimmed);
    QString host = parsed.host().toLower();
    if (host.endsWith(u'.'))
        host.chop(1);
    if (host.startsWith(QLatin1String("www.")))
        host.remove(0, 4);
    if (!parsed.isValid() || host.isEmpty())
        return std::nullopt;
    return WebAddress{host, parsed.path(), parsed.fragment()};
}

bool WebAddress::isOnDomain(const QString& domain) const {
    return host == domain || (host.endsWith(domain) && host.at(host.size() - domain.size() - 1) == u'.');
}

bool WebAddress::pathIsUnder(const QString& prefix) const {
    return path.startsWith(prefix) && (path.size() == prefix.size() || path.at(prefix.size()) == u'/');
}

} // namespace lumeno
