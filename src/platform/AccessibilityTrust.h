#pragma once

#include <QCoroTask>
#include <QString>

#include <functional>

namespace lumeno {

// Whether the desktop lets the program read and write other applications' fields.
class AccessibilityTrust {
public:
    virtual ~AccessibilityTrust() = default;

    // The desktop's last answer; never waits (false until the first answer is in).
    virtual bool isTrusted() const = 0;
    // Asks the desktop again; the answer comes back through the task and from then on from isTrusted().
    virtual QCoro::Task<bool> checkTrust() = 0;
    // Asks the desktop to trust the program (showing its own prompt where it has one) and calls
    // `whenAnswered` once that request is over, whatever the answer.
    virtual void requestTrust(std::function<void()> whenAnswered) = 0;
    // Whether requestTrust() itself turns trust on, every time it is asked, with no prompt or settings page
    // in between: then a program the user has taken trust from can simply be given it again.
    virtual bool canSwitchOn() const { return false; }
    // Whether the application of process `pid`, already running when trust was granted, shows its fields
    // only once it is started again: some toolkits look at the desktop's switch only as they start.
    virtual bool needsRestartToBeRead(qint64 pid) const {
        Q_UNUSED(pid);
        return false;
    }
};

} // namespace lumeno
