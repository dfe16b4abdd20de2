#include "FuzzSupport.h"

#include "support/Log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

namespace lumeno::fuzz {

namespace {

class RunawayPatternSink final : public LogSink {
public:
    void write(LogCategory, LogLevel level, const QString& line) override {
        if (level == LogLevel::error && line.startsWith(QLatin1String("A text pattern ran out of time"))) {
            std::fprintf(stderr, "%s\n", qUtf8Printable(line));
            std::abort();
        }
    }
};

} // namespace

QByteArray bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

QString text(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

QStringList texts(const uint8_t* data, size_t size, int count) {
    QStringList parts = text(data, size).split(QChar(u'\0'));
    while (parts.size() < count)
        parts.append(QString());
    return parts;
}

void require(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "Broken: %s\n", what);
    std::abort();
}

void failOnRunawayPatterns() {
    static const bool installed = [] {
        Log::setSink(std::make_shared<RunawayPatternSink>());
        return true;
    }();
    (void)installed;
}

} // namespace lumeno::fuzz

// Besides libFuzzer's own mutations, one input in eight grows by repeating a short piece of itself many
// times: the inputs on which a pattern's work grows with the square of the text are long runs of one thing
// (spaces, capitals, colons), which byte-level mutations rarely build.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed) {
    std::minstd_rand random(seed);
    if (size == 0 || size >= maxSize || random() % 8 != 0)
        return LLVMFuzzerMutate(data, size, maxSize);
    const size_t start = random() % size;
    const size_t length = 1 + random() % std::min<size_t>(16, size - start);
    const size_t room = maxSize - size;
    const size_t copies = std::min<size_t>(room / length, 1 + random() % 20'000);
    if (copies == 0)
        return LLVMFuzzerMutate(data, size, maxSize);
    const size_t grown = copies * length;
    std::memmove(data + start + length + grown, data + start + length, size - start - length);
    for (size_t copy = 0; copy < copies; ++copy)
        std::memcpy(data + start + length + copy * length, data + start, length);
    return size + grown;
}
