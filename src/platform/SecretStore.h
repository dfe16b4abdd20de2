#pragma once

#include <QString>
#include <optional>

namespace lumeno {

// Secrets by name, kept apart from the settings so they never land in the settings file.
class SecretStore {
public:
    virtual ~SecretStore() = default;

    virtual std::optional<QString> get(const QString& name) const = 0;
    // None on success, else why the secret could not be kept.
    virtual std::optional<QString> set(const QString& name, const QString& secret) = 0;
    virtual std::optional<QString> remove(const QString& name) = 0;
};

} // namespace lumeno
