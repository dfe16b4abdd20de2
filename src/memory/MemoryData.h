#pragma once

#include "memory/Commitment.h"
#include "memory/Person.h"
#include "memory/Pin.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace lumeno {

// The whole memory, in insertion order; its JSON form is memory.json and the export file.
struct MemoryData {
    qint64 version = 1; // kept as read and written back unchanged
    QList<Person> people;
    QList<Commitment> commitments;
    QList<Pin> pins;

    // The file bytes: sorted keys, pretty-printed, optional fields omitted when none.
    QByteArray toJson() const;
    // Strict: any missing required key, wrong type, bad UUID or date rejects the whole document (reason in
    // `error`).
    static std::optional<MemoryData> fromJson(const QByteArray& bytes, QString* error = nullptr);

    bool operator==(const MemoryData&) const = default;
};

} // namespace lumeno
