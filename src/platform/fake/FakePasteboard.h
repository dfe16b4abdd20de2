#pragma once

#include "platform/Pasteboard.h"
#include "platform/fake/FakeDesktop.h"

namespace lumeno {

// The fake desktop's clipboard as the program sees it.
class FakePasteboard final : public Pasteboard {
public:
    explicit FakePasteboard(FakeDesktop& desktop) : desktop_(desktop) {}

    qint64 changeCount() const override;
    QCoro::Task<Reading> read(PasteboardForms forms) override;
    bool write(const PasteboardContents& contents) override;

private:
    FakeDesktop& desktop_;
};

} // namespace lumeno
