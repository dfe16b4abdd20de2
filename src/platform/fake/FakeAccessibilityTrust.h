#pragma once

#include "platform/AccessibilityTrust.h"

#include <set>

namespace lumeno {

// Trust the test sets. A request opens a prompt that stays up until the test answers it.
class FakeAccessibilityTrust final : public AccessibilityTrust {
public:
    bool isTrusted() const override { return trusted_; }
    QCoro::Task<bool> checkTrust() override;
    void requestTrust(std::function<void()> whenAnswered) override;
    bool needsRestartToBeRead(qint64 pid) const override { return readOnlyAfterRestart.contains(pid); }
    bool canSwitchOn() const override { return switchesOn; }

    // Whether a request turns trust on each time (the Linux desktop's switch) rather than prompting once.
    bool switchesOn = false;

    // The processes whose fields show only once they start again after trust was granted.
    std::set<qint64> readOnlyAfterRestart;

    void setTrusted(bool trusted) { trusted_ = trusted; }
    bool isPromptShown() const { return bool(pendingAnswer_); }
    // Closes the open prompt with the user's answer; does nothing when no prompt is up.
    void answerPrompt(bool trust);
    int requestCount() const { return requests_; }

private:
    bool trusted_ = false;
    int requests_ = 0;
    std::function<void()> pendingAnswer_;
};

} // namespace lumeno
