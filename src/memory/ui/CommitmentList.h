#pragma once

#include "memory/ui/CommitmentRow.h"
#include "memory/ui/RecordList.h"

namespace lumeno {

// The Commitments section: one editable row per commitment, or the "No commitments" panel.
class CommitmentList : public RecordList<CommitmentRow> {
    Q_OBJECT
public:
    explicit CommitmentList(MemoryStore& memory, QWidget* parent = nullptr);
};

} // namespace lumeno
