// draft-details.jsonl: whatever line the reader accepts is written as one line and read back as the same
// record.
#include "FuzzSupport.h"

#include "details/DraftDetailsLine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumeno;
    const std::optional<DraftDetails> record = DraftDetailsLine::decode(fuzz::bytes(data, size));
    if (!record)
        return 0;
    const std::optional<QByteArray> line = DraftDetailsLine::encode(*record);
    fuzz::require(line.has_value(), "a record that was read can be written");
    fuzz::require(!line->contains('\n'), "a record is one line");
    const std::optional<DraftDetails> again = DraftDetailsLine::decode(*line);
    fuzz::require(again.has_value(), "a written record is read back");
    fuzz::require(*again == *record, "the record survives a save");
    return 0;
}
