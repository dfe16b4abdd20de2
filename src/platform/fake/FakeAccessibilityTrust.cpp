#include "platform/fake/FakeAccessibilityTrust.h"

#include <utility>

namespace lumeno {

QCoro::Task<bool> FakeAccessibilityTrust::checkTrust() {
    co_return trusted_;
}

void FakeAccessibilityTrust::requestTrust(std::function<void()> whenAnswered) {
    ++requests_;
    pendingAnswer_ = std::move(whenAnswered);
}

void FakeAccessibilityTrust::answerPrompt(bool trust) {
    if (!pendingAnswer_)
        return;
    trusted_ = trust;
    const auto answered = std::exchange(pendingAnswer_, nullptr);
    answered();
}

} // namespace lumeno
