#pragma once

#include "details/DraftDetails.h"
#include "screen/ScreenReader.h"

#include <QString>

#include <optional>

namespace lumeno {

// What reading the conversation around the field came to: the text read and how long it took, or why it
// was not read at all.
struct ConversationRead {
    std::optional<ScreenReader::Conversation> conversation;
    std::optional<int> milliseconds;
    std::optional<DraftDetails::Conversation::Status> skipped;
    std::optional<QString> note;
};

} // namespace lumeno
