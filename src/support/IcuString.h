#pragma once

#include <QString>
#include <unicode/unistr.h>

namespace lumeno {

// A read-only ICU view of a QString's UTF-16 buffer: nothing is copied, so the QString must outlive it.
inline icu::UnicodeString icuAlias(QStringView text) {
    return icu::UnicodeString(false, reinterpret_cast<const char16_t*>(text.utf16()), int32_t(text.size()));
}

inline QString toQString(const icu::UnicodeString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

} // namespace lumeno
