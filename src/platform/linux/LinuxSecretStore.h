#pragma once

#include "platform/SecretStore.h"
#include "platform/linux/JsonObjectFile.h"
#include "support/FileWriter.h"

#include <memory>

namespace lumeno {

// Secrets in an owner-only JSON file in the program's support folder (mode 0600, folder 0700): readable by
// the user's own processes, never by other users, and never part of the settings file. The file is written
// off the main thread.
class LinuxSecretStore final : public SecretStore {
public:
    LinuxSecretStore(const QString& path, const Clock& clock);

    std::optional<QString> get(const QString& name) const override;
    QCoro::Task<std::optional<QString>> set(const QString& name, const QString& secret) override;
    QCoro::Task<std::optional<QString>> remove(const QString& name) override;

private:
    struct State {
        JsonObjectFile file; // used by the disk's worker once loaded
        QJsonObject kept;    // what the file holds
        QJsonObject asked;   // with the changes asked and not yet written, which the next change builds on
    };
    QCoro::Task<std::optional<QString>> save(QJsonObject changed);

    std::shared_ptr<State> state_; // shared with the writes under way, which may end after the store
    FileWriter disk_;
};

} // namespace lumeno
