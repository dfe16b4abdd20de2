#include "memory/Person.h"

namespace lumeno {

QString Person::firstName() const {
    // Only the plain space separates words here: a tab or line break keeps the name whole.
    const QStringList words = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return words.isEmpty() ? name : words.front();
}

} // namespace lumeno
