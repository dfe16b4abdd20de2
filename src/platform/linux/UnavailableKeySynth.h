#pragma once

#include "platform/KeySynth.h"

namespace lumeno {

// Without an X server no key reaches another application: every post fails, so the program tells the user
// to paste by hand instead of believing the text went in.
class UnavailableKeySynth final : public KeySynth {
public:
    bool post(Key) override { return false; }
};

} // namespace lumeno
