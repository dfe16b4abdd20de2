#pragma once

#include <functional>

namespace lumeno::desktop {

// Runs the event loop until `condition` holds, at most `timeoutMs`; false when it never did. The condition
// is looked at on every event and at least every 10 ms, for states that change without telling this
// process (a property on the X server, a socket another process opens).
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

} // namespace lumeno::desktop
