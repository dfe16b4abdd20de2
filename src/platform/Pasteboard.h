#pragma once

#include "platform/PasteboardContents.h"

#include <optional>

namespace lumeno {

// The desktop's clipboard. Used on the main thread only.
class Pasteboard {
public:
    virtual ~Pasteboard() = default;

    // Grows by one with every change, whoever made it.
    virtual qint64 changeCount() const = 0;
    // None when the clipboard is empty.
    virtual std::optional<PasteboardContents> contents() const = 0;
    // The text forms and the markers only, for reading a copy as text: other forms stay unread.
    virtual std::optional<PasteboardContents> textContents() const { return contents(); }
    // Replaces everything on the clipboard (empty contents clear it); false when the desktop refused.
    virtual bool write(const PasteboardContents& contents) = 0;
};

} // namespace lumeno
