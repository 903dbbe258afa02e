#pragma once

#include <QByteArray>

#include <optional>

namespace furrow {

// The published algorithms sync relies on, through OpenSSL: HKDF-SHA256 (RFC 5869) and
// AES-256-GCM with a 12-byte nonce, a 16-byte tag and no additional data.
namespace CryptoPrimitives {

constexpr qsizetype kKeySize = 32;
constexpr qsizetype kNonceSize = 12;
constexpr qsizetype kTagSize = 16;

// Writes `length` bytes of output key material to `out`; false when OpenSSL fails.
bool hkdfSha256(QByteArrayView inputKey, QByteArrayView salt, QByteArrayView info,
                unsigned char *out, std::size_t length);

// The combined box nonce ‖ ciphertext ‖ tag; none when OpenSSL fails.
std::optional<QByteArray> aesGcmSeal(QByteArrayView key, QByteArrayView nonce,
                                     QByteArrayView plaintext);
// The plaintext of a combined box; none when it is too short or does not authenticate.
std::optional<QByteArray> aesGcmOpen(QByteArrayView key, QByteArrayView box);

// Bytes from the operating system's secure generator; none when it fails.
std::optional<QByteArray> randomBytes(qsizetype count);

} // namespace CryptoPrimitives
} // namespace furrow
