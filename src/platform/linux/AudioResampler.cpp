#include "platform/linux/AudioResampler.h"

#include <algorithm>
#include <cmath>

namespace lumeno {

namespace {

qint16 pcm(float sample) {
    return qint16(std::clamp<long>(std::lround(double(sample) * 32767.0), -32768, 32767));
}

} // namespace

std::vector<qint16> AudioResampler::convert(const AudioBuffer& buffer) {
    const std::vector<float>& in = buffer.samples;
    std::vector<qint16> out;
    if (in.empty() || buffer.sampleRate <= 0)
        return out;
    if (buffer.sampleRate == targetRate_) {
        out.reserve(in.size());
        std::transform(in.begin(), in.end(), std::back_inserter(out), pcm);
        return out;
    }
    const double step = buffer.sampleRate / targetRate_;
    const auto size = double(in.size());
    out.reserve(size_t(size / step) + 1);
    // Each output sample lies between two input samples; the last input sample waits for the next buffer.
    for (; position_ < size - 1; position_ += step) {
        const double floor = std::floor(position_);
        const auto index = qsizetype(floor);
        const float before = index < 0 ? previous_ : in[size_t(index)];
        const float after = in[size_t(index + 1)];
        out.push_back(pcm(before + float(position_ - floor) * (after - before)));
    }
    position_ -= size;
    previous_ = in.back();
    return out;
}

} // namespace lumeno
