#pragma once

#include <QString>

namespace lumeno {

// Which build of the program is running.
class BuildIdentity {
public:
    virtual ~BuildIdentity() = default;

    virtual QString version() const = 0;
    // A fingerprint of the running executable: it changes with every rebuild, so a permission granted to
    // an earlier copy can be told apart. Empty when it cannot be worked out.
    virtual QString codeHash() const = 0;
};

} // namespace lumeno
