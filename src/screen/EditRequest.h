#pragma once

#include "support/RawValue.h"

#include <QObject>
#include <QString>

namespace lumeno {

// Text the user asked to rewrite by voice, with the text around it.
struct EditRequest {
    Q_GADGET
public:
    // Draft records store the names (rawValue).
    enum class Scope { selection, wholeField };
    Q_ENUM(Scope)

    QString original;
    Scope scope = Scope::selection;
    QString surrounding;

    bool operator==(const EditRequest&) const = default;
};

} // namespace lumeno
