#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace lumeno {

// One release offered by the update feed.
struct AppcastItem {
    QString title;
    QString version;        // compared with the installed bundle's version
    QString displayVersion; // shown to the user (DisplayVersion), the version's own form when the feed gives none
    QUrl releaseNotesLink;  // a page with the release notes, or none
    QString description;    // release notes given in the feed itself (HTML or text), or none
    QString minimumSystemVersion; // the oldest Linux kernel it runs on; empty when any

    struct Enclosure {
        QUrl url;
        qint64 length = 0;
        QString type;
        QByteArray edSignature; // raw 64-byte Ed25519 signature of the archive
        bool operator==(const Enclosure&) const = default;
    };
    Enclosure enclosure;

    bool operator==(const AppcastItem&) const = default;
};

} // namespace lumeno
