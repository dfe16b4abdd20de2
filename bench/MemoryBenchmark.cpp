// A heavy user's memory: thousands of people, long threads, large texts.
#include "memory/MemoryDetector.h"
#include "memory/MemoryStore.h"
#include "memory/PersonMatcher.h"
#include "support/Clock.h"
#include "SampleProse.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace lumeno {
namespace {

QString word(int seed) {
    static const QStringList syllables{"an", "bo", "ka", "li", "mo", "ne", "ra", "si", "to", "vu", "ze", "pe"};
    QString result;
    for (int n = seed + 7, i = 0; i < 3; ++i, n /= syllables.size())
        result += syllables[n % syllables.size()];
    result[0] = result[0].toUpper();
    return result;
}

QList<Person> people(int count) {
    QList<Person> result;
    for (int i = 0; i < count; ++i) {
        const QString first = word(i);
        const QString last = word(i * 31 + 5);
        result.append({QUuid::createUuid(), first + ' ' + last,
                       {first.toLower() + '.' + last.toLower() + QString::number(i) + "@example.com", "@" + first.toLower() + QString::number(i)},
                       "Notes on " + first, QDateTime(QDate(2025, 6, 1), QTime(8, 0), Qt::UTC),
                       QDateTime(QDate(2025, 6, 2), QTime(8, 0), Qt::UTC)});
    }
    return result;
}

void matchOneThousandPeople(benchmark::State& state) {
    const QList<Person> everyone = people(1000);
    const QString text = sampleProse(4 * 1024) + "\nCc: " + everyone[700].aliases.front();
    for (auto _ : state)
        benchmark::DoNotOptimize(PersonMatcher::match(text, everyone));
}
BENCHMARK(matchOneThousandPeople)->Unit(benchmark::kMillisecond);

QString mailThread(int messages, int bytes) {
    QString thread;
    for (int i = 0; i < messages; ++i) {
        const QString sender = i % 2 ? QStringLiteral("Marko Kralj <marko@example.com>")
                                     : QStringLiteral("Anna Novak <anna@example.com>");
        thread += sender + "\n" + QString::number(10 + i % 12) + ":42\nTo: " + (i % 2 ? "Anna Novak" : "me") + "\n";
        thread += sampleProse(bytes / messages - 80).left(bytes / messages - 80) + "\n\n";
    }
    return thread;
}

void recipientOfALongThread(benchmark::State& state) {
    const QString thread = mailThread(200, 100'000);
    for (auto _ : state)
        benchmark::DoNotOptimize(MemoryDetector::recipient(thread, {"Marko Kralj"}));
    state.counters["bytes"] = double(thread.size());
}
BENCHMARK(recipientOfALongThread)->Unit(benchmark::kMillisecond);

// A run of capitals before the real sender, growing: the time should grow in step with the text.
void recipientAfterARunOfCapitals(benchmark::State& state) {
    const QString text = QString(int(state.range(0)), u'A') + QStringLiteral(".\nAnna Novak <anna@example.com>");
    for (auto _ : state)
        benchmark::DoNotOptimize(MemoryDetector::recipient(text, {"Marko Kralj"}));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(recipientAfterARunOfCapitals)->RangeMultiplier(2)->Range(3'000, 24'000)->Complexity()->Unit(benchmark::kMillisecond);

void commitmentInTenKilobytes(benchmark::State& state) {
    const QString text = sampleProse(10 * 1024) + " I'll send you the deck by Friday.";
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (auto _ : state)
        benchmark::DoNotOptimize(MemoryDetector::commitment(text, now));
}
BENCHMARK(commitmentInTenKilobytes)->Unit(benchmark::kMicrosecond);

void pinInTenKilobytes(benchmark::State& state) {
    const QString text = sampleProse(10 * 1024) + " note to self: bring the charger.";
    for (auto _ : state)
        benchmark::DoNotOptimize(MemoryDetector::pin(text));
}
BENCHMARK(pinInTenKilobytes)->Unit(benchmark::kMicrosecond);

// 1,000 people, 2,000 commitments and 2,000 pins.
MemoryData fiveThousandRecords() {
    MemoryData data;
    data.people = people(1000);
    const QDateTime start(QDate(2026, 1, 1), QTime(9, 0), Qt::UTC);
    for (int i = 0; i < 2000; ++i) {
        const QUuid owner = data.people[i % 1000].id;
        data.commitments.append({QUuid::createUuid(), "Send " + word(i) + " the " + word(i * 3) + " report",
                                 i % 3 ? std::optional(start.addDays(i % 90)) : std::nullopt, owner, i % 5 == 0,
                                 start.addSecs(i * 60)});
        data.pins.append({QUuid::createUuid(), word(i * 7) + " prefers " + word(i * 11), owner,
                          i % 2 ? std::optional(QString("Thread " + word(i))) : std::nullopt, start.addSecs(i * 90)});
    }
    return data;
}

struct Store {
    QTemporaryDir folder;
    SystemClock clock;
    MemoryStore memory{folder.filePath("memory.json"), clock};
};

void searchFiveThousandRecords(benchmark::State& state) {
    Store store;
    store.memory.setData(fiveThousandRecords());
    for (auto _ : state)
        benchmark::DoNotOptimize(store.memory.search("bokali"));
}
BENCHMARK(searchFiveThousandRecords)->Unit(benchmark::kMillisecond);

void saveFiveThousandRecords(benchmark::State& state) {
    Store store;
    store.memory.setData(fiveThousandRecords());
    for (auto _ : state)
        store.memory.deleteCommitment(QUuid()); // changes nothing, rewrites the whole file
}
BENCHMARK(saveFiveThousandRecords)->Unit(benchmark::kMillisecond);

void loadFiveThousandRecords(benchmark::State& state) {
    Store store;
    store.memory.setData(fiveThousandRecords());
    store.memory.deleteCommitment(QUuid());
    for (auto _ : state) {
        MemoryStore loaded(store.memory.filePath(), store.clock);
        benchmark::DoNotOptimize(loaded.data().people.size());
    }
}
BENCHMARK(loadFiveThousandRecords)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lumeno

BENCHMARK_MAIN();
