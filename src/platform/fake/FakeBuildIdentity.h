#pragma once

#include "platform/BuildIdentity.h"

namespace lumeno {

// A build whose version and code fingerprint the test sets (a "rebuild" is a new hash).
class FakeBuildIdentity final : public BuildIdentity {
public:
    QString version() const override { return versionText; }
    QString codeHash() const override { return hash; }

    QString versionText = QStringLiteral("1.0.0");
    QString hash = QStringLiteral("0000000000000000000000000000000000000000000000000000000000000000");
};

} // namespace lumeno
