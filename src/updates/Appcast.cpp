#include "updates/Appcast.h"

#include "foundation/DisplayVersion.h"

#include <QXmlStreamReader>

namespace lumeno {

namespace {

bool isOurs(const QXmlStreamReader& xml, QLatin1StringView name) {
    return xml.namespaceUri() == Appcast::xmlNamespace && xml.name() == name;
}

bool isPlain(const QXmlStreamReader& xml, QLatin1StringView name) {
    return xml.namespaceUri().isEmpty() && xml.name() == name;
}

AppcastItem::Enclosure readEnclosure(const QXmlStreamAttributes& attributes) {
    AppcastItem::Enclosure enclosure;
    enclosure.url = QUrl(attributes.value(QLatin1String("url")).toString().trimmed(), QUrl::StrictMode);
    bool ok = false;
    const qint64 length = attributes.value(QLatin1String("length")).toString().trimmed().toLongLong(&ok);
    enclosure.length = ok ? length : 0;
    enclosure.type = attributes.value(QLatin1String("type")).toString();
    const QByteArray signature = attributes.value(Appcast::xmlNamespace, QLatin1String("edSignature")).toLatin1();
    enclosure.edSignature = QByteArray::fromBase64(signature.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    return enclosure;
}

// What makes the item unusable, or nothing when it can be offered.
QString whatIsMissing(const AppcastItem& item) {
    if (item.version.isEmpty())
        return QStringLiteral("no version");
    if (!item.enclosure.url.isValid() || item.enclosure.url.isRelative())
        return QStringLiteral("no archive address");
    if (item.enclosure.length <= 0)
        return QStringLiteral("no archive length");
    if (item.enclosure.edSignature.size() != 64)
        return QStringLiteral("no valid signature");
    return {};
}

// How a left-out item is named in the log.
QString nameOf(const AppcastItem& item) {
    if (!item.version.isEmpty())
        return item.version;
    return item.title.isEmpty() ? QStringLiteral("(untitled)") : QStringLiteral("\"%1\"").arg(item.title);
}

AppcastItem readItem(QXmlStreamReader& xml) {
    AppcastItem item;
    while (xml.readNextStartElement()) {
        if (isOurs(xml, QLatin1StringView("version")))
            item.version = xml.readElementText().trimmed();
        else if (isOurs(xml, QLatin1StringView("shortVersionString")))
            item.displayVersion = xml.readElementText().trimmed();
        else if (isOurs(xml, QLatin1StringView("releaseNotesLink")))
            item.releaseNotesLink = QUrl(xml.readElementText().trimmed(), QUrl::StrictMode);
        else if (isOurs(xml, QLatin1StringView("minimumSystemVersion")))
            item.minimumSystemVersion = xml.readElementText().trimmed();
        else if (isPlain(xml, QLatin1StringView("title")))
            item.title = xml.readElementText().trimmed();
        else if (isPlain(xml, QLatin1StringView("description")))
            item.description = xml.readElementText().trimmed();
        else if (isPlain(xml, QLatin1StringView("enclosure"))) {
            item.enclosure = readEnclosure(xml.attributes());
            xml.skipCurrentElement();
        } else
            xml.skipCurrentElement();
    }
    item.displayVersion = DisplayVersion::of(item.version, item.displayVersion);
    return item;
}

void readChannel(QXmlStreamReader& xml, Appcast::Feed& feed) {
    while (xml.readNextStartElement()) {
        if (!isPlain(xml, QLatin1StringView("item"))) {
            xml.skipCurrentElement();
            continue;
        }
        AppcastItem item = readItem(xml);
        const QString missing = whatIsMissing(item);
        if (missing.isEmpty())
            feed.items.push_back(std::move(item));
        else
            feed.skipped.append(QStringLiteral("item %1: %2").arg(nameOf(item), missing));
    }
}

} // namespace

std::variant<Appcast::Feed, Appcast::Failure> Appcast::read(const QByteArray& document) {
    QXmlStreamReader xml(document);
    if (!xml.readNextStartElement()) {
        // Nothing that parses as XML up to its first element: a plain-text or error page.
        return Failure{Failure::Kind::notAFeed, QStringLiteral("no XML document: %1").arg(xml.errorString())};
    }
    if (!isPlain(xml, QLatin1StringView("rss")))
        return Failure{Failure::Kind::notAFeed, QStringLiteral("the document is <%1>, not <rss>").arg(xml.name())};
    Feed feed;
    bool sawChannel = false;
    while (xml.readNextStartElement()) {
        if (isPlain(xml, QLatin1StringView("channel"))) {
            sawChannel = true;
            readChannel(xml, feed);
        } else
            xml.skipCurrentElement();
    }
    if (xml.hasError())
        return Failure{Failure::Kind::malformed,
                       QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString())};
    if (!sawChannel)
        return Failure{Failure::Kind::notAFeed, QStringLiteral("<rss> without a <channel>")};
    return feed;
}

} // namespace lumeno
