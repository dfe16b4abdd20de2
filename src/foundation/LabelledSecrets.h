#pragma once

#include "foundation/SecretRule.h"

namespace lumeno {

// Secrets that only their label gives away: "password: hunter2", "API_KEY=...", "PIN is 1234",
// "passcode 882211", "123456 is your verification code". The label and its separator stay; only the value
// is replaced.
//
// How sure a rule is depends on how the value is introduced: after ":" or "=" (a form, a config line) any
// value is taken; after a verb ("my password is ...") only a quoted value or one that looks generated
// (SecretChecks::looksGenerated), so "the password is wrong" stays; after a bare space only a code of
// digits. PINs and one-time codes are always codes: "PIN: buy milk" is a note, not a secret.
class LabelledSecrets {
public:
    static std::vector<SecretRule> rules();
};

} // namespace lumeno
