#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace lumeno {

namespace Ed25519 {

// True only when `signature` (64 bytes) is `publicKey`'s (32 raw bytes) signature of `message`; any
// malformed key or signature is simply not a match.
bool verify(const QByteArray& publicKey, QByteArrayView message, const QByteArray& signature);

} // namespace Ed25519

} // namespace lumeno
