#include "shell/KeySpot.h"

namespace lumeno {

size_t qHash(const KeySpot& spot, size_t seed) {
    const size_t kind = ::qHash(int(spot.kind), seed);
    return spot.kind == KeySpot::Kind::named ? qHashMulti(seed, kind, spot.name) : kind;
}

} // namespace lumeno
