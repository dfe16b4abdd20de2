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
    // Who put the application folder where it is, as the build wrote it down: only a folder installed in
    // place (`make install`, or an update) is Lumeno's own to replace.
    enum class Installation {
        unknown,   // the bundle does not say
        buildTree, // the build folder itself
        installed, // installed in place, or put there by an update
        packaged,  // staged for a package, which the package manager owns
    };
    Installation installation = Installation::unknown;
    bool operator==(const AppBundle&) const = default;
    static constexpr QLatin1StringView fileName{"bundle.properties"};
    // The bundle in `directory`, or a message saying what is wrong with it.
    static std::variant<AppBundle, QString> read(const QString& directory);
};

} // namespace lumeno
