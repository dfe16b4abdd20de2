#pragma once

#include "drafting/StyleProfile.h"
#include "foundation/Surface.h"
#include "screen/PackedContext.h"

#include <QString>

namespace lumeno {

// The sentences of the drafting prompts. Kept apart from their assembly so the wording can be read, and
// changed, in one place.
struct PromptWording {
    static QString replyRole();
    static QString editRole();
    static QString surface(Surface surface, const QString& signOff, const QString& signName);
    static QString editSurface(Surface surface, bool wholeField);
    static QString length(StyleProfile::Length length);
    static QString tone(StyleProfile::Tone tone);
    static QString formality(StyleProfile::Formality formality);
    // `named`: the recipient's name is given in the prompt.
    static QString followUp(bool named);
    // `threadLanguage` and `spokenLanguage` are display names, empty when unknown.
    static QString language(bool editing, bool hasConversation, const QString& threadLanguage,
                            const QString& spokenLanguage);
    static QString contextIntro(PackedContext::Source source, bool truncated);
    static QString replyRules();
    static QString editRules(bool selectionInContext);
};

} // namespace lumeno
