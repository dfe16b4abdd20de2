#pragma once

#include <QHashFunctions>
#include <QString>

namespace lumeno {

// A place on the drawn keyboard of the how-to guide: a letter or punctuation key known by its printed name,
// or one of the modifier keys and the space bar. Both Control keys share one place.
struct KeySpot {
    enum class Kind { function, control, optionLeft, optionRight, commandLeft, commandRight, shiftLeft, shiftRight,
                      space, named };

    Kind kind = Kind::named;
    QString name; // only for `named`

    static KeySpot named(const QString& name) { return {Kind::named, name}; }
    static KeySpot of(Kind kind) { return {kind, {}}; }

    bool operator==(const KeySpot&) const = default;
};

size_t qHash(const KeySpot& spot, size_t seed = 0);

} // namespace lumeno
