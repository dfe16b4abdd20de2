#include "platform/linux/WavFile.h"

#include <QFile>
#include <QtEndian>

namespace lumeno {

namespace {

quint16 u16(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 u32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

} // namespace

std::optional<AudioBuffer> WavFile::read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parse(file.readAll());
}

std::optional<AudioBuffer> WavFile::parse(const QByteArray& bytes) {
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    int channels = 0;
    quint32 rate = 0;
    bool pcm16 = false;
    for (qsizetype at = 12; at + 8 <= bytes.size();) {
        const QByteArray id = bytes.mid(at, 4);
        // Writers that stream leave the size unknown (all ones): such a chunk runs to the end of the file.
        const qsizetype size = std::min<qsizetype>(u32(bytes, at + 4), bytes.size() - at - 8);
        const qsizetype body = at + 8;
        if (id == "fmt " && size >= 16) {
            pcm16 = u16(bytes, body) == 1 && u16(bytes, body + 14) == 16;
            channels = u16(bytes, body + 2);
            rate = u32(bytes, body + 4);
        } else if (id == "data") {
            if (!pcm16 || channels < 1 || rate == 0)
                return std::nullopt;
            AudioBuffer audio;
            audio.sampleRate = rate;
            const qsizetype frames = size / (2 * channels);
            audio.samples.resize(size_t(frames));
            for (qsizetype frame = 0; frame < frames; ++frame) {
                float sum = 0;
                for (int channel = 0; channel < channels; ++channel)
                    sum += qFromLittleEndian<qint16>(bytes.constData() + body + 2 * (frame * channels + channel));
                audio.samples[size_t(frame)] = sum / float(channels) / 32768.0f;
            }
            return audio;
        }
        at = body + size + (size % 2); // chunks are padded to even sizes
    }
    return std::nullopt;
}

} // namespace lumeno
