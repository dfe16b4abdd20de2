#pragma once

#include <QString>

namespace lumeno {

// What the model is asked: the server's drafting request body carries exactly these three fields.
struct DraftPrompt {
    QString system;
    QString user;
    int tokenLimit = 0;

    bool operator==(const DraftPrompt&) const = default;
};

} // namespace lumeno
