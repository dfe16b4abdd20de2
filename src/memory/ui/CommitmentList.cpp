#include "memory/ui/CommitmentList.h"

namespace lumeno {

CommitmentList::CommitmentList(MemoryStore& memory, QWidget* parent)
    : RecordList(memory,
                 {QStringLiteral("checklist"), QStringLiteral("No commitments"),
                  QStringLiteral("When a reply promises something (\u201cI'll send the contract Friday\u201d), Lumeno "
                                 "offers to save it here. Nothing is saved unless you click the offer.")},
                 parent) {
    setObjectName(QStringLiteral("commitmentList"));
}

} // namespace lumeno
