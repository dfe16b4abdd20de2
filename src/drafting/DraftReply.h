#pragma once

#include "drafting/ProviderKind.h"

#include <QString>

#include <optional>

namespace lumeno {

// What the drafting call brings back: the model's text and, when the server names them, the provider and
// model that wrote it (otherwise the settings' choice is recorded).
struct DraftReply {
    QString text;
    std::optional<ProviderKind> provider;
    std::optional<QString> model;

    bool operator==(const DraftReply&) const = default;
};

} // namespace lumeno
