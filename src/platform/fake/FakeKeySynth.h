#pragma once

#include "platform/KeySynth.h"
#include "platform/fake/FakeDesktop.h"

namespace lumeno {

// Keys that act on the fake desktop's focused field the way a text field answers them: paste inserts the
// clipboard's plain text at the selection, select-all selects the whole text, undo takes back the last
// edit, Return breaks the line in a text area and sends the message from a single-line field.
class FakeKeySynth final : public KeySynth {
public:
    explicit FakeKeySynth(FakeDesktop& desktop) : desktop_(desktop) {}

    bool post(Key key) override;

private:
    FakeDesktop& desktop_;
};

} // namespace lumeno
