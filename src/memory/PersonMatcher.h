#pragma once

#include "memory/Person.h"

#include <QList>

#include <optional>

namespace lumeno {

// Decides which stored person a short text (an addressee line, a chat partner, a window title) speaks of.
// Each person scores by its strongest hit: an e-mail alias anywhere (100), the full name (80), another alias
// (60), a first name no one else shares (30); names and aliases must stand free of letters and digits. Ties
// go to the earlier hit in the text, then to the earlier person in the list.
class PersonMatcher {
public:
    static std::optional<Person> match(const QString& text, const QList<Person>& people);
};

} // namespace lumeno
