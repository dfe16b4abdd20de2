#pragma once

namespace lumeno {

// Where the user stands on one permission: `denied` also covers a desktop that rules it out.
enum class AuthorizationStatus { granted, denied, notDetermined };

} // namespace lumeno
