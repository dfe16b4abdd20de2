#include "support/Json.h"

#include <benchmark/benchmark.h>

namespace lumeno {
namespace {

// A store-sized document: `count` people, each with a few strings, dates, numbers and a nested list.
QJsonObject storeDocument(int count) {
    QJsonArray people;
    const QDateTime start(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
    for (int i = 0; i < count; ++i) {
        people.append(QJsonObject{
            {"id", Json::uuid(QUuid::createUuidV5(QUuid(), QString::number(i)))},
            {"name", QStringLiteral("Person %1 \"Zoë\"").arg(i)},
            {"note", QStringLiteral("Prefers mornings.\nAsked about https://example.com/%1").arg(i)},
            {"updated", Json::date(start.addSecs(i * 97))},
            {"score", 0.1 * i},
            {"count", i},
            {"aliases", QJsonArray{QStringLiteral("P%1").arg(i), QStringLiteral("p.%1").arg(i)}},
        });
    }
    return QJsonObject{{"version", 1}, {"people", people}};
}

void BM_WritePretty(benchmark::State& state) {
    const QJsonObject document = storeDocument(int(state.range(0)));
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray written = Json::write(document);
        bytes += written.size();
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_WritePretty)->Arg(100)->Arg(2000);

void BM_WriteCompactLine(benchmark::State& state) {
    const QJsonObject record = storeDocument(1)["people"].toArray().first().toObject();
    for (auto _ : state)
        benchmark::DoNotOptimize(Json::write(record, Json::Style::compact));
}
BENCHMARK(BM_WriteCompactLine);

// Parse plus strict reading of every field: the cost of loading a store at start.
void BM_ParseAndReadStrictly(benchmark::State& state) {
    const QByteArray data = Json::write(storeDocument(int(state.range(0))));
    for (auto _ : state) {
        const auto parsed = Json::parse(data);
        JsonReader reader(parsed->toObject());
        const std::function<QDateTime(JsonReader&)> readPerson = [](JsonReader& person) {
            person.uuid("id");
            person.string("name");
            person.string("note");
            person.number("score");
            person.integer("count");
            person.strings("aliases");
            return person.date("updated");
        };
        benchmark::DoNotOptimize(reader.objects<QDateTime>("people", readPerson));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * data.size());
}
BENCHMARK(BM_ParseAndReadStrictly)->Arg(100)->Arg(2000);

} // namespace
} // namespace lumeno

BENCHMARK_MAIN();
