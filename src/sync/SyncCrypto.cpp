#include "SyncCrypto.h"

#include "CryptoPrimitives.h"
#include "SealedEnvelope.h"
#include "SyncBase64.h"
#include "sync/wire/SyncBodyCoding.h"
#include "sync/wire/SyncWireError.h"

#include <openssl/crypto.h>

namespace furrow {

namespace {

const QString kSealedMember = QStringLiteral("e");
// The fixed salt of the key derivation, the same on every machine.
constexpr QByteArrayView kSalt = "vemqa.salt.k7";

const char *failureName(SyncCrypto::Failure failure)
{
    return failure == SyncCrypto::Failure::Sealing ? "sealing" : "unreadable";
}

} // namespace

SyncCrypto::Error::Error(Failure failure)
    : furrow::Error(std::string(failureName(failure)))
    , m_failure(failure)
{}

std::optional<SyncCrypto> SyncCrypto::fromPhrase(const QString &phrase)
{
    const QString trimmed = phrase.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    QByteArray material = trimmed.toUtf8();
    SyncCrypto crypto;
    const bool derived = CryptoPrimitives::hkdfSha256(material, kSalt, {}, crypto.m_key.data(),
                                                      crypto.m_key.size());
    OPENSSL_cleanse(material.data(), std::size_t(material.size()));
    if (!derived)
        throw Error(Failure::Sealing);
    return crypto;
}

SyncCrypto::SyncCrypto(const SyncCrypto &other) = default;

SyncCrypto &SyncCrypto::operator=(const SyncCrypto &other) = default;

SyncCrypto::~SyncCrypto()
{
    OPENSSL_cleanse(m_key.data(), m_key.size());
}

QString SyncCrypto::seal(const SyncBody &body) const
{
    const auto nonce = CryptoPrimitives::randomBytes(CryptoPrimitives::kNonceSize);
    if (!nonce)
        throw Error(Failure::Sealing);
    const QByteArrayView key(m_key.data(), qsizetype(m_key.size()));
    const auto box = CryptoPrimitives::aesGcmSeal(key, *nonce, SyncBodyCoding::encode(body));
    if (!box)
        throw Error(Failure::Sealing);
    return SyncBase64::encode(*box);
}

SyncRecord SyncCrypto::sealed(const SyncRecord &record) const
{
    SyncRecord result = record;
    result.body = {{kSealedMember, SyncValue::text(seal(SealedEnvelope::bind(record)))}};
    return result;
}

std::optional<SyncBody> SyncCrypto::open(QStringView text) const
{
    const auto box = SyncBase64::decode(text);
    if (!box)
        return std::nullopt;
    const QByteArrayView key(m_key.data(), qsizetype(m_key.size()));
    const auto plaintext = CryptoPrimitives::aesGcmOpen(key, *box);
    if (!plaintext)
        return std::nullopt;
    try {
        return SyncBodyCoding::decode(*plaintext);
    } catch (const SyncWireError &) {
        return std::nullopt;
    }
}

std::optional<SyncBody> SyncCrypto::openRecord(const SyncRecord &record) const
{
    const auto sealed = record.body.find(kSealedMember);
    if (sealed == record.body.end() || !sealed->second.isText())
        return std::nullopt;
    std::optional<SyncBody> body = open(sealed->second.asText());
    if (!body)
        return std::nullopt;
    return SealedEnvelope::unbind(record, std::move(*body));
}

std::vector<SyncRecord> SyncCrypto::open(std::vector<SyncRecord> records, const SyncCrypto *crypto,
                                         qint64 &unreadable)
{
    std::vector<SyncRecord> opened;
    opened.reserve(records.size());
    for (SyncRecord &record : records) {
        // Without a key only what needs no opening can be read.
        if (!crypto && !record.body.contains(kSealedMember)) {
            opened.push_back(std::move(record));
            continue;
        }
        std::optional<SyncBody> body;
        if (crypto)
            body = crypto->openRecord(record);
        if (!body) {
            ++unreadable;
            continue;
        }
        record.body = std::move(*body);
        opened.push_back(std::move(record));
    }
    return opened;
}

} // namespace furrow
