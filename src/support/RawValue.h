#pragma once

#include <QMetaEnum>
#include <QString>
#include <QStringView>

#include <optional>
#include <type_traits>

namespace lumeno {

// The names files and settings store an enumeration under, for an enumeration declared with Q_ENUM or
// Q_ENUM_NS: the enumerator's own name, without the trailing underscore that a name which is a C++ keyword
// carries (`short_` is stored as "short").

namespace RawValueDetail {
inline QString stored(const char* key) {
    QString name = QString::fromLatin1(key);
    if (name.endsWith(u'_'))
        name.chop(1);
    return name;
}
} // namespace RawValueDetail

template <typename E>
    requires std::is_enum_v<E>
QString rawValue(E value) {
    return RawValueDetail::stored(QMetaEnum::fromType<E>().valueToKey(int(value)));
}

// Matched exactly, case included; none for any other text.
template <typename E>
    requires std::is_enum_v<E>
std::optional<E> fromRawValue(QStringView raw) {
    const QMetaEnum names = QMetaEnum::fromType<E>();
    for (int i = 0; i < names.keyCount(); ++i)
        if (RawValueDetail::stored(names.key(i)) == raw)
            return E(names.value(i));
    return std::nullopt;
}

} // namespace lumeno
