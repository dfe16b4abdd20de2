// A model's answer through the cleaner, the layouts and the guard, as every draft goes: each finishes within
// its budget on any text, and a draft with words in it never comes out empty.
#include "FuzzSupport.h"

#include "drafting/DraftCleaner.h"
#include "drafting/DraftLayout.h"
#include "drafting/ReplyGuard.h"
#include "support/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumeno;
    fuzz::failOnRunawayPatterns();
    const QStringList parts = fuzz::texts(data, size, 3);
    const QString& answer = parts[0];
    const DraftCleaner::Names names{parts[1], parts[2]};
    const DraftLayout::Signature signature{QStringLiteral("Best,"), parts[1], {parts[1]}};

    const QString cleaned = DraftCleaner::cleaned(answer, names);
    fuzz::require(Text::trimmed(answer).isEmpty() || !Text::trimmed(cleaned).isEmpty(), "a draft is never cleaned away");
    for (const QString& laidOut : {DraftLayout::email(cleaned, signature), DraftLayout::chat(cleaned, signature),
                                   DraftLayout::plain(cleaned, signature)})
        (void)ReplyGuard::guarded(laidOut, 300);
    (void)ReplyGuard::detectedLanguage(answer);
    return 0;
}
