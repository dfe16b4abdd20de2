#pragma once

#include "foundation/Surface.h"
#include "foundation/WebAddress.h"

#include <optional>

namespace lumeno {

// The web mail, chat and LinkedIn sites people reply from, by host (and, where one site holds both mail
// and chat, by path).
class KnownSites {
public:
    // None for a site that is none of these.
    static std::optional<Surface> surface(const WebAddress& address);
};

} // namespace lumeno
