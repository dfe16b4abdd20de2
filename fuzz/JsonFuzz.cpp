// The strict JSON reader and the program's writer: anything the reader takes, the writer writes in a form
// the reader takes back as the same value, in both styles.
#include "FuzzSupport.h"

#include "support/Json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumeno;
    const std::optional<QJsonValue> value = Json::parse(fuzz::bytes(data, size));
    if (!value)
        return 0;
    for (const Json::Style style : {Json::Style::compact, Json::Style::pretty}) {
        const std::optional<QJsonValue> again = Json::parse(Json::write(*value, style));
        fuzz::require(again.has_value(), "the writer's output is read back");
        fuzz::require(*again == *value, "a value survives writing and reading");
    }
    return 0;
}
