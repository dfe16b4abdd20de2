#pragma once

#include "platform/AudioBuffer.h"

#include <QtGlobal>

#include <vector>

namespace lumeno {

// Turns a stream of float buffers at any rate into 16-bit samples at one rate, by linear interpolation
// that carries on across buffer boundaries. Good enough for speech recognition, which listens well below
// the rates microphones record at.
class AudioResampler {
public:
    explicit AudioResampler(double targetRate) : targetRate_(targetRate) {}

    std::vector<qint16> convert(const AudioBuffer& buffer);

private:
    double targetRate_;
    double position_ = 0;  // of the next output sample, in input samples from the start of the next buffer
    float previous_ = 0;   // the last sample of the previous buffer (position -1)
};

} // namespace lumeno
