#pragma once

namespace lumeno {

class ContextPacker;
class Pasteboard;
struct DraftDetails;

// "Copy as Text": puts a record's report on the clipboard, replacing what was there, and tells the context
// packer the change is the program's own, so the copy is never offered back as something the user copied.
class ReportCopier {
public:
    ReportCopier(Pasteboard& pasteboard, ContextPacker& contextPacker);

    void copy(const DraftDetails& details);

private:
    Pasteboard& pasteboard_;
    ContextPacker& contextPacker_;
};

} // namespace lumeno
