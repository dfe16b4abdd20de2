#include "foundation/AppBundle.h"

#include "foundation/DisplayVersion.h"
#include "support/AtomicFile.h"
#include "support/Regex.h"

#include <QDir>
#include <QHash>
#include <QStringDecoder>

namespace lumeno {
namespace {

constexpr qsizetype ed25519KeyLength = 32;

// The line without its comment: `#` at its start or after white space begins one (a `#` inside a value,
// as in an address's fragment, stays).
QString withoutComment(const QString& line) {
    static const Regex comment = Regex::fixed(QStringLiteral("(^|\\s)#"));
    const std::optional<RegexMatch> found = comment.firstMatch(line);
    return found ? line.left(found->range().start) : line;
}

using Properties = QHash<QString, QString>;

// Every key and value of the file, or why a line is not one.
std::variant<Properties, QString> parse(const QString& text) {
    Properties properties;
    int number = 0;
    for (const QString& written : text.split(u'\n')) {
        ++number;
        const QString line = withoutComment(written).trimmed();
        if (line.isEmpty())
            continue;
        const qsizetype equals = line.indexOf(u'=');
        const QString key = equals < 0 ? QString() : line.left(equals).trimmed();
        if (key.isEmpty())
            return QStringLiteral("line %1 is not key=value").arg(number);
        if (properties.contains(key))
            return QStringLiteral("line %1 gives \"%2\" a second time").arg(number).arg(key);
        properties.insert(key, line.mid(equals + 1).trimmed());
    }
    return properties;
}

std::variant<QByteArray, QString> publicKeyFrom(const QString& text) {
    if (text.isEmpty())
        return QByteArray();
    const QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return QStringLiteral("public-key is not base64");
    if (decoded.decoded.size() != ed25519KeyLength)
        return QStringLiteral("public-key has %1 bytes, an Ed25519 key has %2")
            .arg(decoded.decoded.size())
            .arg(ed25519KeyLength);
    return *decoded;
}

AppBundle::Installation installationFrom(const QString& text) {
    using Installation = AppBundle::Installation;
    if (text == QLatin1StringView("build"))
        return Installation::buildTree;
    if (text == QLatin1StringView("install"))
        return Installation::installed;
    if (text == QLatin1StringView("package"))
        return Installation::packaged;
    return Installation::unknown;
}

std::variant<AppBundle, QString> fromProperties(const Properties& properties, const QString& directory) {
    AppBundle bundle;
    bundle.identifier = properties.value(QStringLiteral("identifier"));
    bundle.version = properties.value(QStringLiteral("version"));
    if (bundle.identifier.isEmpty())
        return QStringLiteral("it names no identifier");
    if (bundle.version.isEmpty())
        return QStringLiteral("it names no version");
    bundle.displayVersion = DisplayVersion::of(bundle.version, properties.value(QStringLiteral("display-version")));
    bundle.feed = properties.value(QStringLiteral("feed"));
    std::variant<QByteArray, QString> key = publicKeyFrom(properties.value(QStringLiteral("public-key")));
    if (const auto* problem = std::get_if<QString>(&key))
        return *problem;
    bundle.publicKey = std::get<QByteArray>(key);
    bundle.directory = directory;
    bundle.installation = installationFrom(properties.value(QStringLiteral("installation")));
    return bundle;
}

std::variant<AppBundle, QString> fromBytes(const QByteArray& bytes, const QString& directory) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return QStringLiteral("it is not UTF-8 text");
    const std::variant<Properties, QString> parsed = parse(text);
    if (const auto* problem = std::get_if<QString>(&parsed))
        return *problem;
    return fromProperties(std::get<Properties>(parsed), directory);
}

} // namespace

std::variant<AppBundle, QString> AppBundle::read(const QString& directory) {
    const QString folder = QDir(directory).absolutePath();
    const QString path = QDir(folder).filePath(fileName);
    const AtomicFile::ReadResult file = AtomicFile::read(path);
    if (std::holds_alternative<AtomicFile::Missing>(file))
        return QStringLiteral("The program's bundle file %1 is missing.").arg(path);
    if (const auto* unreadable = std::get_if<AtomicFile::Unreadable>(&file))
        return QStringLiteral("The program's bundle file %1 can't be read: %2").arg(path, unreadable->message);

    std::variant<AppBundle, QString> bundle = fromBytes(std::get<QByteArray>(file), folder);
    if (const auto* problem = std::get_if<QString>(&bundle))
        return QStringLiteral("The program's bundle file %1 is broken: %2.").arg(path, *problem);
    return bundle;
}

} // namespace lumeno
