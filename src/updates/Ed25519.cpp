#include "updates/Ed25519.h"

#include <openssl/evp.h>

#include <memory>

namespace lumeno {

bool Ed25519::verify(const QByteArray& publicKey, QByteArrayView message, const QByteArray& signature) {
    if (publicKey.size() != 32 || signature.size() != 64)
        return false;
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr,
                                    reinterpret_cast<const unsigned char*>(publicKey.constData()), 32),
        &EVP_PKEY_free);
    if (!key)
        return false;
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    // Ed25519 hashes the message itself: no digest is named, and the message goes in whole (a mapped file
    // is read straight from its pages).
    if (!context || EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    return EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.constData()),
                            size_t(signature.size()),
                            reinterpret_cast<const unsigned char*>(message.data()),
                            size_t(message.size())) == 1;
}

} // namespace lumeno
