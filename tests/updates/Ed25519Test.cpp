#include "updates/Ed25519.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <memory>

namespace lumeno {
namespace {

// A key pair made here; the signature of a message by it.
struct Signer {
    std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key{EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519"), &EVP_PKEY_free};

    QByteArray publicKey() const {
        QByteArray raw(32, 0);
        size_t size = 32;
        EVP_PKEY_get_raw_public_key(key.get(), reinterpret_cast<unsigned char*>(raw.data()), &size);
        return raw;
    }
    QByteArray sign(const QByteArray& message) const {
        std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
        EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key.get());
        QByteArray signature(64, 0);
        size_t size = 64;
        EVP_DigestSign(context.get(), reinterpret_cast<unsigned char*>(signature.data()), &size,
                       reinterpret_cast<const unsigned char*>(message.constData()), size_t(message.size()));
        return signature;
    }
};

TEST(Ed25519Test, OnlyTheKeysOwnSignatureOfTheSameBytesVerifies) {
    const Signer maker, other;
    const QByteArray archive("release archive bytes");
    const QByteArray signature = maker.sign(archive);
    EXPECT_TRUE(Ed25519::verify(maker.publicKey(), archive, signature));
    EXPECT_FALSE(Ed25519::verify(other.publicKey(), archive, signature));
    EXPECT_FALSE(Ed25519::verify(maker.publicKey(), archive + ' ', signature));
    QByteArray flipped = signature;
    flipped[10] = char(flipped[10] ^ 1);
    EXPECT_FALSE(Ed25519::verify(maker.publicKey(), archive, flipped));
}

TEST(Ed25519Test, KeysAndSignaturesOfTheWrongSizeNeverVerify) {
    const Signer maker;
    const QByteArray archive("release archive bytes");
    const QByteArray signature = maker.sign(archive);
    EXPECT_FALSE(Ed25519::verify(maker.publicKey().left(31), archive, signature));
    EXPECT_FALSE(Ed25519::verify({}, archive, signature));
    EXPECT_FALSE(Ed25519::verify(maker.publicKey(), archive, signature.left(63)));
    EXPECT_FALSE(Ed25519::verify(maker.publicKey(), archive, signature + 'x'));
}

} // namespace
} // namespace lumeno
