// The detectors that read other people's text (the conversation, a window title, the user's dictation):
// every one finishes within its budget on any text, and what they find comes from the text.
#include "FuzzSupport.h"

#include "memory/DateDetector.h"
#include "memory/MemoryDetector.h"
#include "memory/PersonMatcher.h"
#include "screen/ConversationStats.h"
#include "support/Clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumeno;
    fuzz::failOnRunawayPatterns();
    const QStringList parts = fuzz::texts(data, size, 2);
    const QString& text = parts[0];
    const QStringList ownNames = parts.mid(1);

    static const ManualClock clock;
    static const DateDetector dates(clock);
    if (const std::optional<DateDetector::Found> found = dates.firstDate(text))
        fuzz::require(found->range.start >= 0 && found->range.end() <= text.size(), "a date lies in the text");
    if (const std::optional<MemoryDetector::Detected> promise = MemoryDetector::commitment(text, clock.now(), dates))
        fuzz::require(!promise->text.isEmpty(), "a promise has words");
    (void)MemoryDetector::pin(text);
    if (const std::optional<MemoryDetector::Addressed> to = MemoryDetector::recipient(text, ownNames))
        fuzz::require(!to->name.isEmpty(), "an addressee has a name");
    (void)MemoryDetector::sender(text, ownNames.value(0));
    (void)MemoryDetector::signOff(text);
    (void)MemoryDetector::directMessageTitle().firstMatch(text);
    (void)ConversationStats::estimatedMessages(text);
    (void)PersonMatcher::match(text, {Person{QUuid::createUuid(), ownNames.value(0), ownNames.mid(1), {}, {}, {}}});
    return 0;
}
