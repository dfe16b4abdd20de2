#pragma once

#include "platform/SecretStore.h"
#include "platform/linux/JsonObjectFile.h"

namespace lumeno {

// Secrets in an owner-only JSON file in the program's support folder (mode 0600, folder 0700): readable by
// the user's own processes, never by other users, and never part of the settings file.
class LinuxSecretStore final : public SecretStore {
public:
    LinuxSecretStore(const QString& path, const Clock& clock);

    std::optional<QString> get(const QString& name) const override;
    std::optional<QString> set(const QString& name, const QString& secret) override;
    std::optional<QString> remove(const QString& name) override;

private:
    std::optional<QString> save(QJsonObject changed);

    JsonObjectFile file_;
    QJsonObject secrets_;
};

} // namespace lumeno
