#pragma once

#include "platform/Accessibility.h"

#include <QString>

#include <optional>

namespace lumeno::desktop {

// Thunderbird (AccessibleTargets::thunderbird) answering the message it shows, as the user does: Ctrl+R in
// the message's window, pressed again when the window had not yet taken keys, until the compose window's
// body has the focus.
class ThunderbirdReply {
public:
    // The compose body; none when it never had the focus, with `why` saying how far it got.
    static std::optional<AccessibleElement> answer(Accessibility& accessibility, qint64 pid, QString& why);
};

} // namespace lumeno::desktop
