#include "platform/linux/harness/ThunderbirdReply.h"

#include "platform/linux/harness/DesktopTest.h"
#include "platform/linux/harness/DesktopUser.h"
#include "platform/AXNames.h"
#include "platform/linux/X11FrontmostApplication.h"
#include "platform/linux/XcbConnection.h"

namespace lumeno::desktop {

namespace {

constexpr int startMs = 30000;
constexpr int replyAttempts = 3;

} // namespace

std::optional<AccessibleElement> ThunderbirdReply::answer(Accessibility& accessibility, qint64 pid, QString& why) {
    const X11FrontmostApplication frontmost(XcbConnection::open());
    const auto frontTitle = [&] {
        const std::optional<RunningApplication> front = frontmost.read();
        return front ? front->windowTitle : QString();
    };
    // Keys typed before the window has its focus inside go nowhere.
    const auto waitForWindow = [&](const QString& title, int timeoutMs) {
        return DesktopTest::waitUntil([&] {
            return frontTitle().contains(title) && accessibility.focusedElement(pid).has_value();
        }, timeoutMs);
    };
    if (!waitForWindow(QStringLiteral("Friday review"), startMs)) {
        why = QStringLiteral("the message window never had the focus; in front: ") + frontTitle();
        return std::nullopt;
    }
    bool answered = false;
    for (int attempt = 0; attempt < replyAttempts && !answered; ++attempt) {
        DesktopUser user;
        user.press(DesktopUser::leftControl);
        user.tap(DesktopUser::letterR);
        user.release(DesktopUser::leftControl);
        answered = waitForWindow(QStringLiteral("Write: Re: Friday review"), startMs / replyAttempts);
    }
    if (!answered) {
        why = QStringLiteral("no compose window had the focus; in front: ") + frontTitle();
        return std::nullopt;
    }
    std::optional<AccessibleElement> body;
    DesktopTest::waitUntil([&] {
        body = accessibility.focusedElement(pid);
        return body && accessibility.string(*body, AXAttribute::role) == AXRole::textArea;
    }, startMs);
    if (!body || accessibility.string(*body, AXAttribute::role) != AXRole::textArea) {
        why = QStringLiteral("the compose body never had the focus");
        return std::nullopt;
    }
    return body;
}

} // namespace lumeno::desktop
