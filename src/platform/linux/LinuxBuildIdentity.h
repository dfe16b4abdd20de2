#pragma once

#include "platform/BuildIdentity.h"

#include <optional>

namespace lumeno {

// The running executable: its version from the build, its fingerprint the SHA-256 of the executable file,
// worked out on first use.
class LinuxBuildIdentity final : public BuildIdentity {
public:
    explicit LinuxBuildIdentity(QString executablePath);

    QString version() const override;
    QString codeHash() const override;

private:
    QString executablePath_;
    mutable std::optional<QString> codeHash_;
};

} // namespace lumeno
