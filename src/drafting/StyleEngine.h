#pragma once

#include "drafting/StyleProfile.h"

#include <QStringList>

namespace lumeno {

// Picks the writing samples a prompt carries, so the model hears the user's real voice without the
// prompt growing with every message the user sends.
class StyleEngine {
public:
    static constexpr int maxSamples = 6;
    static constexpr int maxSampleCharacters = 700;   // one sample, in characters
    static constexpr int maxTotalCharacters = 3000;   // all samples together

    // Learned examples first (newest first), then the pasted samples in their order. A sample longer than
    // the bound is cut at a word boundary and ends with "…"; samples stop at either bound.
    static QStringList chosenSamples(const StyleProfile& profile);

    // `text` cut to at most `limit` characters at the last word boundary, with "…" appended when cut.
    static QString shortened(const QString& text, int limit);
};

} // namespace lumeno
