#pragma once

#include <QHashFunctions>
#include <QString>

namespace lumeno {

// A place on the drawn PC keyboard of the how-to guide: a letter or punctuation key known by its printed
// name, or one of the modifier keys of the bottom row and the space bar.
struct KeySpot {
    enum class Kind { controlLeft, superLeft, altLeft, space, altRight, superRight, menu, controlRight, shiftLeft,
                      shiftRight, named };

    Kind kind = Kind::named;
    QString name; // only for `named`

    static KeySpot named(const QString& name) { return {Kind::named, name}; }
    static KeySpot of(Kind kind) { return {kind, {}}; }

    bool operator==(const KeySpot&) const = default;
};

size_t qHash(const KeySpot& spot, size_t seed = 0);

} // namespace lumeno
