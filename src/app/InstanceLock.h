#pragma once

#include <QLockFile>
#include <QString>

namespace lumeno {

// One running copy per user: a lock file in the user's runtime folder. The second copy fails to take it
// and quits quietly; a lock left by a copy that crashed is taken over (QLockFile sees its process gone).
class InstanceLock {
public:
    // `directory`: where the lock lives (the runtime folder in the application, a temporary one in tests).
    explicit InstanceLock(const QString& directory);
    // True when this process now holds the lock.
    bool acquire();

private:
    QLockFile lock_;
};

} // namespace lumeno
