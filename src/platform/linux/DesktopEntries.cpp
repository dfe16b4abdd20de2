#include "platform/linux/DesktopEntries.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QStandardPaths>

namespace lumeno {

namespace {

// A value's escapes: "\s" is a space; a backslash keeps any other character after it as it is.
QString unescaped(const QString& value) {
    QString text;
    for (qsizetype at = 0; at < value.size(); ++at) {
        if (value[at] == QLatin1Char('\\') && at + 1 < value.size()) {
            ++at;
            text.append(value[at] == QLatin1Char('s') ? QChar(QLatin1Char(' ')) : value[at]);
        } else {
            text.append(value[at]);
        }
    }
    return text;
}

} // namespace

DesktopEntries DesktopEntries::installed() {
    return readFrom(QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation));
}

DesktopEntries DesktopEntries::readFrom(const QStringList& folders) {
    std::vector<Entry> entries;
    QSet<QString> seen;
    for (const QString& folder : folders) {
        const QDir root(folder);
        QDirIterator files(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            // A file in a subfolder has the folder in its id: kde/kate.desktop is "kde-kate".
            QString id = root.relativeFilePath(path);
            id.chop(int(qstrlen(".desktop")));
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            if (seen.contains(id))
                continue;
            seen.insert(id);
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            if (std::optional<Entry> entry = parse(id, file.read(256 * 1024)))
                entries.push_back(std::move(*entry));
        }
    }
    return DesktopEntries(std::move(entries));
}

std::optional<DesktopEntries::Entry> DesktopEntries::parse(const QString& id, const QByteArray& text) {
    Entry entry{id, {}, {}};
    QString type;
    bool inEntry = false;
    bool hidden = false;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            // Actions and other groups follow the main one and have Names of their own.
            if (inEntry)
                break;
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inEntry || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = unescaped(line.mid(equals + 1).trimmed());
        if (key == QLatin1String("Name"))
            entry.name = value;
        else if (key == QLatin1String("StartupWMClass"))
            entry.windowClass = value;
        else if (key == QLatin1String("Type"))
            type = value;
        else if (key == QLatin1String("Hidden"))
            hidden = value == QLatin1String("true");
    }
    if (type != QLatin1String("Application") || hidden || entry.name.isEmpty())
        return std::nullopt;
    return entry;
}

std::optional<QString> DesktopEntries::nameOf(const QString& instance, const QString& className) const {
    QStringList classes;
    for (const QString& candidate : {className, instance})
        if (!candidate.isEmpty())
            classes.append(candidate);
    const auto names = [&](const QString& text) {
        return std::any_of(classes.begin(), classes.end(),
                           [&](const QString& candidate) { return candidate.compare(text, Qt::CaseInsensitive) == 0; });
    };
    for (const Entry& entry : entries_)
        if (!entry.windowClass.isEmpty() && names(entry.windowClass))
            return entry.name;
    for (const Entry& entry : entries_)
        if (names(entry.id) || names(entry.id.section(QLatin1Char('.'), -1)))
            return entry.name;
    return std::nullopt;
}

} // namespace lumeno
