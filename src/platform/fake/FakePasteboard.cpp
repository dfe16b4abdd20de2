#include "platform/fake/FakePasteboard.h"

namespace lumeno {

qint64 FakePasteboard::changeCount() const { return desktop_.changeCount(); }

std::optional<PasteboardContents> FakePasteboard::contents() const { return desktop_.clipboard(); }

bool FakePasteboard::write(const PasteboardContents& contents) {
    return desktop_.withState([&](FakeDesktop::State& state) {
        if (state.pasteboardWritesFail)
            return false;
        state.writeClipboard(contents);
        return true;
    });
}

} // namespace lumeno
