#include "details/ReportCopier.h"

#include "details/DraftDetails.h"
#include "platform/Pasteboard.h"
#include "screen/ContextPacker.h"

namespace lumeno {

ReportCopier::ReportCopier(Pasteboard& pasteboard, ContextPacker& contextPacker)
    : pasteboard_(pasteboard), contextPacker_(contextPacker) {}

void ReportCopier::copy(const DraftDetails& details) {
    pasteboard_.write(PasteboardContents::plain(details.report()));
    contextPacker_.noteOwnChange(pasteboard_.changeCount(), false);
}

} // namespace lumeno
