#pragma once

#include "drafting/DraftPrompt.h"
#include "drafting/ProviderKind.h"

#include <QString>

namespace lumeno {

// One finished draft: the text to insert, what the model really answered and how it was asked.
struct DraftResult {
    QString text;      // cleaned, laid out and guarded
    QString modelText; // the model's raw answer
    DraftPrompt prompt;
    ProviderKind provider = ProviderKind::anthropic;
    QString model;
    double seconds = 0;

    bool operator==(const DraftResult&) const = default;
};

} // namespace lumeno
