#include "CryptoPrimitives.h"

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/kdf.h>
#include <openssl/rand.h>

#include <memory>
#include <vector>

namespace furrow::CryptoPrimitives {

namespace {

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

const unsigned char *bytes(QByteArrayView view)
{
    return reinterpret_cast<const unsigned char *>(view.data());
}

unsigned char *bytes(QByteArray &array)
{
    return reinterpret_cast<unsigned char *>(array.data());
}

// Fetched once: an implicit fetch on every initialisation costs more than sealing a small body.
const EVP_CIPHER *aes256Gcm()
{
    static EVP_CIPHER *cipher = EVP_CIPHER_fetch(nullptr, "AES-256-GCM", nullptr);
    return cipher;
}

CipherContext newContext()
{
    return CipherContext(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
}

} // namespace

bool hkdfSha256(QByteArrayView inputKey, QByteArrayView salt, QByteArrayView info,
                unsigned char *out, std::size_t length)
{
    EVP_KDF *kdf = EVP_KDF_fetch(nullptr, "HKDF", nullptr);
    if (!kdf)
        return false;
    std::unique_ptr<EVP_KDF_CTX, decltype(&EVP_KDF_CTX_free)> context(EVP_KDF_CTX_new(kdf),
                                                                      EVP_KDF_CTX_free);
    EVP_KDF_free(kdf);
    if (!context)
        return false;
    const auto octets = [](const char *name, QByteArrayView value) {
        return OSSL_PARAM_construct_octet_string(name, const_cast<char *>(value.data()),
                                                 std::size_t(value.size()));
    };
    std::vector<OSSL_PARAM> params;
    params.push_back(
        OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, const_cast<char *>("SHA256"), 0));
    params.push_back(octets(OSSL_KDF_PARAM_KEY, inputKey));
    // An absent salt or info is the same as an empty one to HKDF.
    if (!salt.isEmpty())
        params.push_back(octets(OSSL_KDF_PARAM_SALT, salt));
    if (!info.isEmpty())
        params.push_back(octets(OSSL_KDF_PARAM_INFO, info));
    params.push_back(OSSL_PARAM_construct_end());
    return EVP_KDF_derive(context.get(), out, length, params.data()) == 1;
}

std::optional<QByteArray> aesGcmSeal(QByteArrayView key, QByteArrayView nonce,
                                     QByteArrayView plaintext)
{
    const CipherContext context = newContext();
    if (!context || !aes256Gcm() || key.size() != kKeySize || nonce.size() != kNonceSize)
        return std::nullopt;
    QByteArray box(kNonceSize + plaintext.size() + kTagSize, Qt::Uninitialized);
    std::copy(nonce.begin(), nonce.end(), box.begin());
    unsigned char *ciphertext = bytes(box) + kNonceSize;
    unsigned char *tag = ciphertext + plaintext.size();
    int length = 0;
    if (EVP_EncryptInit_ex2(context.get(), aes256Gcm(), bytes(key), bytes(nonce), nullptr) != 1)
        return std::nullopt;
    if (!plaintext.isEmpty()
        && EVP_EncryptUpdate(context.get(), ciphertext, &length, bytes(plaintext),
                             int(plaintext.size()))
               != 1)
        return std::nullopt;
    if (EVP_EncryptFinal_ex(context.get(), tag, &length) != 1
        || EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, int(kTagSize), tag) != 1)
        return std::nullopt;
    return box;
}

std::optional<QByteArray> aesGcmOpen(QByteArrayView key, QByteArrayView box)
{
    if (box.size() < kNonceSize + kTagSize || key.size() != kKeySize)
        return std::nullopt;
    const CipherContext context = newContext();
    if (!context || !aes256Gcm())
        return std::nullopt;
    const qsizetype size = box.size() - kNonceSize - kTagSize;
    const unsigned char *ciphertext = bytes(box) + kNonceSize;
    // The tag control takes a non-const buffer; it only reads it.
    auto *tag = const_cast<unsigned char *>(ciphertext + size);
    QByteArray plaintext(size, Qt::Uninitialized);
    int length = 0;
    if (EVP_DecryptInit_ex2(context.get(), aes256Gcm(), bytes(key), bytes(box), nullptr) != 1)
        return std::nullopt;
    if (size > 0
        && EVP_DecryptUpdate(context.get(), bytes(plaintext), &length, ciphertext, int(size)) != 1)
        return std::nullopt;
    if (EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, int(kTagSize), tag) != 1
        || EVP_DecryptFinal_ex(context.get(), bytes(plaintext) + size, &length) != 1)
        return std::nullopt;
    return plaintext;
}

std::optional<QByteArray> randomBytes(qsizetype count)
{
    QByteArray out(count, Qt::Uninitialized);
    if (RAND_bytes(bytes(out), int(count)) != 1)
        return std::nullopt;
    return out;
}

} // namespace furrow::CryptoPrimitives
