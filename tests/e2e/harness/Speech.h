#pragma once

#include <QString>

namespace lumeno::e2e {

// `text` spoken by espeak-ng (American English, 150 words a minute) into the WAV file `path`, as the
// microphone would hear the user; false when espeak-ng is missing or failed.
bool speakInto(const QString& text, const QString& path);

} // namespace lumeno::e2e
