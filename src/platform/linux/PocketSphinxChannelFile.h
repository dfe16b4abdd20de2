#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace lumeno::PocketSphinxChannelFile {

// The recognizer's view of the microphone (its running cepstral mean), kept from one run of the program to
// the next so that the first dictation after a start is heard as well as the later ones: one line of numbers.

// None when the file is missing, or is not one line of `size` numbers: then the model's own view is used, and
// the next save replaces the file.
std::optional<std::vector<float>> read(const QString& path, size_t size);
// None on success, else the reason.
std::optional<QString> write(const QString& path, const std::vector<float>& mean);

} // namespace lumeno::PocketSphinxChannelFile
