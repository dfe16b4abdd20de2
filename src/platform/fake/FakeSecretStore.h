#pragma once

#include "platform/SecretStore.h"

#include <QHash>

namespace lumeno {

// Secrets held in memory; `failWith` makes every change fail with that reason.
class FakeSecretStore final : public SecretStore {
public:
    std::optional<QString> get(const QString& name) const override;
    QCoro::Task<std::optional<QString>> set(const QString& name, const QString& secret) override;
    QCoro::Task<std::optional<QString>> remove(const QString& name) override;

    std::optional<QString> failWith;

private:
    QHash<QString, QString> secrets_;
};

} // namespace lumeno
