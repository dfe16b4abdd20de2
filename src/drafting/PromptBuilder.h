#pragma once

#include "drafting/DraftInput.h"
#include "drafting/DraftPrompt.h"

#include <QString>

#include <optional>

namespace lumeno {

// Turns a dictation and everything around it into what the model is asked. The system prompt says who
// writes, to whom, in which form, style and language, and the rules; the user prompt carries the material:
// the conversation (quoted and fenced as untrusted) and, last, what the user said.
class PromptBuilder {
public:
    static constexpr int maxWindowTitleCharacters = 200;

    // A window title fit for a prompt or a record: secrets redacted, trimmed, at most 200 characters; none
    // when nothing is left.
    static std::optional<QString> windowTitle(const QString& title);

    static DraftPrompt prompt(const DraftInput& input);
    static QString systemPrompt(const DraftInput& input);
    static QString userPrompt(const DraftInput& input);
    // The most the model may write: from the length knob and the kind of message, or for an edit from
    // the size of the text being rewritten.
    static int tokenLimit(const DraftInput& input);

    // Quoted material between <tag> and </tag>. Anything inside that looks like one of our fence tags is
    // defused first, so quoted text can never close its fence and pose as an instruction.
    static QString fenced(const QString& tag, const QString& text);
};

} // namespace lumeno
