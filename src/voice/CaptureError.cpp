#include "voice/CaptureError.h"

#include "foundation/ReplyLanguage.h"

namespace lumeno {

QString CaptureError::localizedDescription() const {
    switch (kind) {
    case Kind::languageUnsupported: {
        const auto language = ReplyLanguage::withCode(detail);
        return QStringLiteral("Speech in %1 can't be transcribed on this computer.")
            .arg(language ? language->name : QStringLiteral("“%1”").arg(detail));
    }
    case Kind::failed:
        return detail;
    case Kind::microphoneUnavailable:
        if (!detail.isEmpty())
            return detail;
        return QStringLiteral("No microphone is available. Connect one, or pick one in the sound settings.");
    }
    return detail;
}

} // namespace lumeno
