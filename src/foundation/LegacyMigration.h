#pragma once

#include <QJsonObject>
#include <QString>
#include <optional>

namespace lumeno {

class DefaultsStore;

// Brings a user of the former product (Vestrel) over, once: its settings (the same keys) and its four
// files. Nothing that already exists here is overwritten. Must run before the settings store and the file
// stores are built, so they read what it brought.
class LegacyMigration {
public:
    // The former product's name: its settings domain and its folder next to ours under `supportBase`.
    static inline const QString formerProduct = QStringLiteral("Vestrel");

    // `oldSettings`: the former product's settings, none when it has none. `supportBase`: the folder that
    // holds both products' support folders (~/.local/share). Never fails: a file that cannot be copied is
    // logged and tried again at the next start, and the migration counts as done only once every file is in.
    static void run(DefaultsStore& defaults, const std::optional<QJsonObject>& oldSettings,
                    const QString& supportBase);
};

} // namespace lumeno
