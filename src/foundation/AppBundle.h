#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>

#include <variant>

namespace lumeno {

// The installed program's identity: the properties file that sits beside the executable in its application
// folder. UTF-8 `key=value` lines; a line or the rest of a line from a `#` that follows white space is a
// comment; unknown keys are ignored, so an older program reads a newer file.
struct AppBundle {
    QString identifier;
    QString version;
    QString displayVersion;
    QString feed;          // as written; empty when none
    QByteArray publicKey;  // raw 32 bytes; empty when none
    QString directory;     // the application folder holding the executable and bundle.properties
    bool operator==(const AppBundle&) const = default;
    static constexpr QLatin1StringView fileName{"bundle.properties"};
    // The bundle in `directory`, or a message saying what is wrong with it.
    static std::variant<AppBundle, QString> read(const QString& directory);
};

} // namespace lumeno
