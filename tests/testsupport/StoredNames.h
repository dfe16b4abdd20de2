#pragma once

#include "support/RawValue.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace lumeno::testing {

// Every name an enumeration is stored under, in declaration order, joined by spaces; each one must read
// back as its own value.
template <typename E>
std::string storedNames() {
    QStringList names;
    const QMetaEnum meta = QMetaEnum::fromType<E>();
    for (int i = 0; i < meta.keyCount(); ++i) {
        const E value = E(meta.value(i));
        names << rawValue(value);
        EXPECT_EQ(fromRawValue<E>(rawValue(value)), std::optional(value)) << names.last().toStdString();
    }
    return names.join(u' ').toStdString();
}

} // namespace lumeno::testing
