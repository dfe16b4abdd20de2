#include "memory/ui/PinList.h"

namespace lumeno {

PinList::PinList(MemoryStore& memory, QWidget* parent)
    : RecordList(memory,
                 {QStringLiteral("pin"), QStringLiteral("No pins"),
                  QStringLiteral("Say \u201cnote to self: \u2026\u201d or \u201cpin that \u2026\u201d while dictating a "
                                 "reply, and Lumeno offers to keep that fact here. It stays out of the message.")},
                 parent) {
    setObjectName(QStringLiteral("pinList"));
}

} // namespace lumeno
