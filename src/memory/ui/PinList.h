#pragma once

#include "memory/ui/PinRow.h"
#include "memory/ui/RecordList.h"

namespace lumeno {

// The Pins section: one editable row per pin, or the "No pins" panel.
class PinList : public RecordList<PinRow> {
    Q_OBJECT
public:
    explicit PinList(MemoryStore& memory, QWidget* parent = nullptr);
};

} // namespace lumeno
