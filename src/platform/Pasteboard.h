#pragma once

#include "platform/PasteboardContents.h"

#include <QCoroTask>

#include <optional>

namespace lumeno {

// The desktop's clipboard. Used on the main thread only.
class Pasteboard {
public:
    // What a look at the clipboard found.
    struct Reading {
        std::optional<PasteboardContents> contents; // none: the clipboard is empty
        // The application holding the clipboard did not hand it over in time (it may have stopped
        // responding): what it holds is unknown, not empty, and still the user's.
        bool unanswered = false;

        bool operator==(const Reading&) const = default;
    };

    virtual ~Pasteboard() = default;

    // Grows by one with every change, whoever made it.
    virtual qint64 changeCount() const = 0;
    // Reads the clipboard without holding the caller: another application may take a while to answer.
    virtual QCoro::Task<Reading> read(PasteboardForms forms) = 0;
    // Replaces everything on the clipboard (empty contents clear it); false when the desktop refused.
    virtual bool write(const PasteboardContents& contents) = 0;
};

} // namespace lumeno
