#include "platform/fake/FakePasteboard.h"

namespace lumeno {

qint64 FakePasteboard::changeCount() const { return desktop_.changeCount(); }

QCoro::Task<Pasteboard::Reading> FakePasteboard::read(PasteboardForms) {
    const bool frozen = desktop_.withState([](const FakeDesktop::State& state) { return state.clipboardOwnerFrozen; });
    co_return frozen ? Reading{std::nullopt, true} : Reading{desktop_.clipboard(), false};
}

bool FakePasteboard::write(const PasteboardContents& contents) {
    return desktop_.withState([&](FakeDesktop::State& state) {
        if (state.pasteboardWritesFail)
            return false;
        state.writeClipboard(contents);
        return true;
    });
}

} // namespace lumeno
