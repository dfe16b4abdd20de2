#pragma once

#include <QCoroTask>
#include <QString>
#include <optional>

namespace lumeno {

// Secrets by name, kept apart from the settings so they never land in the settings file.
class SecretStore {
public:
    virtual ~SecretStore() = default;

    virtual std::optional<QString> get(const QString& name) const = 0;
    // None once the secret is kept, else why it could not be; the event loop never waits for the keeping.
    virtual QCoro::Task<std::optional<QString>> set(const QString& name, const QString& secret) = 0;
    virtual QCoro::Task<std::optional<QString>> remove(const QString& name) = 0;
};

} // namespace lumeno
