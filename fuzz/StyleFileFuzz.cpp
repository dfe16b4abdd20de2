// style.json: whatever the reader accepts is written and read back as the same profile.
#include "FuzzSupport.h"

#include "drafting/StyleProfile.h"
#include "support/Json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumeno;
    const std::optional<QJsonValue> document = Json::parse(fuzz::bytes(data, size));
    if (!document || !document->isObject())
        return 0;
    const std::optional<StyleProfile> style = StyleProfile::fromJson(document->toObject());
    if (!style)
        return 0;
    const std::optional<QJsonValue> written = Json::parse(Json::write(style->toJson()));
    fuzz::require(written && written->isObject(), "a saved style file is JSON");
    const std::optional<StyleProfile> again = StyleProfile::fromJson(written->toObject());
    fuzz::require(again.has_value(), "a saved style file is read back");
    fuzz::require(*again == *style, "the style profile survives a save");
    return 0;
}
