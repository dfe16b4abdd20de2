#include "voice/SpeechLocale.h"

#include "support/Text.h"

namespace lumeno {

QString SpeechLocale::languageCode() const {
    return Text::lowercased(identifier.section(QLatin1Char('-'), 0, 0));
}

} // namespace lumeno
