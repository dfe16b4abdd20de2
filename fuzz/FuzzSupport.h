#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: the input as bytes or text, a check that stops the run with a message,
// and the guard that turns a text pattern running out of its time budget into a finding.
namespace lumeno::fuzz {

QByteArray bytes(const uint8_t* data, size_t size);
QString text(const uint8_t* data, size_t size);
// The input cut into a few texts at NUL bytes (a thread and the user's names, say); at least `count`.
QStringList texts(const uint8_t* data, size_t size, int count);

// Aborts with `what` when `condition` is false: the fuzzer keeps the input that did it.
void require(bool condition, const char* what);

// Installed once per target: a pattern search that runs out of its time budget means a pattern whose work
// grows faster than its text, which is a fault even though the program survives it.
void failOnRunawayPatterns();

} // namespace lumeno::fuzz
