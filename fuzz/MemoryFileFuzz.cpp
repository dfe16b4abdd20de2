// memory.json: whatever the reader accepts is written and read back as the same memory.
#include "FuzzSupport.h"

#include "memory/MemoryData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumeno;
    const std::optional<MemoryData> memory = MemoryData::fromJson(fuzz::bytes(data, size));
    if (!memory)
        return 0;
    const std::optional<MemoryData> again = MemoryData::fromJson(memory->toJson());
    fuzz::require(again.has_value(), "a saved memory file is read back");
    fuzz::require(*again == *memory, "people, promises and pins survive a save");
    return 0;
}
