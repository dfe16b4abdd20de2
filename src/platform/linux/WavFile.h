#pragma once

#include "platform/AudioBuffer.h"

#include <QString>

#include <optional>

namespace lumeno {

// A RIFF WAVE file of 16-bit PCM, read whole into mono samples (channels averaged) at its own rate.
struct WavFile {
    // None when the file is missing or not 16-bit PCM.
    static std::optional<AudioBuffer> read(const QString& path);
    static std::optional<AudioBuffer> parse(const QByteArray& bytes);
};

} // namespace lumeno
