#pragma once

#include <vector>

namespace lumeno {

// One stretch of microphone audio: mono samples from -1 to 1.
struct AudioBuffer {
    std::vector<float> samples;
    double sampleRate = 16000;

    double seconds() const { return sampleRate > 0 ? double(samples.size()) / sampleRate : 0; }

    bool operator==(const AudioBuffer&) const = default;
};

} // namespace lumeno
