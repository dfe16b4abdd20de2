// session.json: whatever the reader accepts is written and read back as the same session.
#include "FuzzSupport.h"

#include "account/AccountSession.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumeno;
    const std::optional<AccountSession> session = AccountSession::decoded(fuzz::bytes(data, size));
    if (!session)
        return 0;
    const std::optional<AccountSession> again = AccountSession::decoded(session->encoded());
    fuzz::require(again.has_value(), "a saved session is read back");
    fuzz::require(*again == *session, "the session survives a save");
    return 0;
}
