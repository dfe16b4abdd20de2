#pragma once

#include <QString>

namespace lumeno {

// Turns what a model answered into the message alone: models wrap drafts in quotes or code fences, add a
// subject line, announce the draft ("Here's a reply:") or comment on it afterwards, and sometimes leave
// placeholders such as "[Your Name]" despite being told not to.
class DraftCleaner {
public:
    struct Names {
        QString signName;      // replaces the writer's placeholders; they are dropped when empty
        QString addresseeName; // the first word replaces the recipient's placeholders; dropped when empty
        bool operator==(const Names&) const = default;
    };

    // The cleaned text; never empty when `modelText` holds any text (a step that would leave nothing is
    // skipped).
    static QString cleaned(const QString& modelText, const Names& names);
};

} // namespace lumeno
