#include "TestPrinters.h"

#include "sync/CryptoPrimitives.h"
#include "sync/SyncBase64.h"
#include "sync/SyncCrypto.h"
#include "sync/wire/SyncBodyCoding.h"

#include <gtest/gtest.h>

namespace furrow {
namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

const SyncBody kBody{{QStringLiteral("title"), SyncValue::text(QStringLiteral("Call the plumber"))},
                     {QStringLiteral("order"), SyncValue::number(3)},
                     {QStringLiteral("dueDate"), SyncValue::blank()}};

SyncCrypto crypto(const QString &phrase)
{
    return *SyncCrypto::fromPhrase(phrase);
}

TEST(CryptoPrimitives, hkdf_matchesRfc5869TestCase1)
{
    unsigned char okm[42];
    ASSERT_TRUE(CryptoPrimitives::hkdfSha256(QByteArray(22, 0x0b),
                                             hex("000102030405060708090a0b0c"),
                                             hex("f0f1f2f3f4f5f6f7f8f9"), okm, sizeof okm));
    EXPECT_EQ(
        QByteArray(reinterpret_cast<const char *>(okm), sizeof okm).toHex(),
        "3cb25f25faacd57a90434f64d0362f2a2d2d0a90cf1a5a4c5db02d56ecc4c5bf34007208d5b887185865");
}

TEST(CryptoPrimitives, aesGcm_matchesNistVectorWith96BitNonce)
{
    const QByteArray key = hex("31bdadd96698c204aa9ce1448ea94ae1fb4a9a0b3c9d773b51bb1822666b8f22");
    const QByteArray nonce = hex("0d18e06c7c725ac9e362e1ce");
    const QByteArray plaintext = hex("2db5168e932556f8089a0622981d017d");
    const QByteArray box
        = nonce + hex("fa4362189661d163fcd6a56d8bf0405a") + hex("d636ac1bbedd5cc3ee727dc2ab4a9489");
    EXPECT_EQ(CryptoPrimitives::aesGcmSeal(key, nonce, plaintext), box);
    EXPECT_EQ(CryptoPrimitives::aesGcmOpen(key, box), plaintext);
}

TEST(SyncBase64, matchesRfc4648Vectors)
{
    const std::pair<const char *, const char *> vectors[] = {{"", ""},
                                                             {"f", "Zg=="},
                                                             {"fo", "Zm8="},
                                                             {"foo", "Zm9v"},
                                                             {"foob", "Zm9vYg=="},
                                                             {"fooba", "Zm9vYmE="},
                                                             {"foobar", "Zm9vYmFy"}};
    for (const auto &[plain, encoded] : vectors) {
        EXPECT_EQ(SyncBase64::encode(QByteArray(plain)), QLatin1String(encoded));
        EXPECT_EQ(SyncBase64::decode(QString::fromLatin1(encoded)), QByteArray(plain)) << encoded;
    }
    const QByteArray everyByte = [] {
        QByteArray bytes;
        for (int i = 0; i < 256; ++i)
            bytes += char(i);
        return bytes;
    }();
    EXPECT_EQ(SyncBase64::encode(everyByte), QString::fromLatin1(everyByte.toBase64()));
    EXPECT_EQ(SyncBase64::decode(SyncBase64::encode(everyByte)), everyByte);
}

TEST(SyncBase64, decode_rejectsAnythingOutsideTheStrictForm)
{
    for (const char *text : {"Zg", "Zg=", "Zm9v\n", "Zm9\nv", "Zm 9v", "Zm9v=", "Z===", "====",
                             "Zg==Zm9v", "Zm=v", "Zm9-", "Zm9_", "Zm9v\r\nZm9v", "é9vYg=="})
        EXPECT_FALSE(SyncBase64::decode(QString::fromUtf8(text))) << text;
}

TEST(SyncCrypto, phrase_isTrimmedButOtherwiseExact)
{
    EXPECT_FALSE(SyncCrypto::fromPhrase(QStringLiteral(" \n\t \u2028")));
    const QString sealed = crypto(QStringLiteral("garden bed")).seal(kBody);
    EXPECT_EQ(crypto(QStringLiteral(" garden bed\n")).open(sealed), kBody);
    EXPECT_FALSE(crypto(QStringLiteral("Garden bed")).open(sealed));
}

TEST(SyncCrypto, seal_usesAFreshNonceEachTime)
{
    const SyncCrypto key = crypto(QStringLiteral("phrase"));
    const QString first = key.seal(kBody);
    const QString second = key.seal(kBody);
    EXPECT_NE(first, second);
    EXPECT_EQ(key.open(first), kBody);
    EXPECT_EQ(key.open(second), kBody);
    EXPECT_EQ(SyncBase64::decode(first)->size(), 12 + SyncBodyCoding::encode(kBody).size() + 16);
}

QString flipBit(const QString &sealed, qsizetype byte)
{
    QByteArray box = *SyncBase64::decode(sealed);
    box[byte] = char(box[byte] ^ 0x01);
    return SyncBase64::encode(box);
}

TEST(SyncCrypto, open_refusesTamperedOrMalformedBoxes)
{
    const SyncCrypto key = crypto(QStringLiteral("phrase"));
    const QString sealed = key.seal(kBody);
    const QByteArray box = *SyncBase64::decode(sealed);
    const QString tampered[] = {
        flipBit(sealed, 0),                           // nonce
        flipBit(sealed, 12),                          // ciphertext
        flipBit(sealed, box.size() - 1),              // tag
        SyncBase64::encode(box.left(box.size() - 1)), // truncated
        SyncBase64::encode(box.left(27)),             // shorter than nonce and tag
        SyncBase64::encode({}),
        sealed.left(sealed.size() - 4), // base64 cut at a group boundary
        sealed + QStringLiteral("\n"),  // a line break
        sealed.mid(1),                  // not base64 at all
        SyncBase64::encode(*CryptoPrimitives::aesGcmSeal(QByteArray(32, 0), QByteArray(12, 0),
                                                         "{}")), // another key
    };
    for (const QString &text : tampered)
        EXPECT_FALSE(key.open(text)) << text.toStdString();
}

TEST(SyncCrypto, openRecords_countsWhatCannotBeOpenedAndPassesUnsealedBodies)
{
    const SyncCrypto key = crypto(QStringLiteral("phrase"));
    const SyncCrypto other = crypto(QStringLiteral("another phrase"));
    const auto record = [](QString id, SyncBody body) {
        return SyncRecord{QStringLiteral("task"), id, 1, false, std::move(body)};
    };
    const SyncValue numberE = SyncValue::number(5);
    std::vector<SyncRecord> received = {
        key.sealed(record(QStringLiteral("1"), kBody)),
        other.sealed(record(QStringLiteral("2"), kBody)),
        record(QStringLiteral("3"), {}),
        record(QStringLiteral("4"), {{QStringLiteral("e"), numberE}}),
        record(QStringLiteral("5"), {{QStringLiteral("e"), SyncValue::text(QStringLiteral("%%"))}}),
        key.sealed(record(QStringLiteral("6"), {})),
    };
    qint64 unreadable = 1; // a count carried over from an earlier page
    const auto opened = SyncCrypto::open(received, &key, unreadable);
    EXPECT_EQ(unreadable, 3);
    ASSERT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[0].id, QStringLiteral("1"));
    EXPECT_EQ(opened[0].body, kBody);
    EXPECT_EQ(opened[1].body, SyncBody{});
    EXPECT_EQ(opened[2].body.at(QStringLiteral("e")), numberE);
    EXPECT_EQ(opened[3].id, QStringLiteral("6"));

    unreadable = 0;
    const auto withoutKey = SyncCrypto::open(received, nullptr, unreadable);
    EXPECT_EQ(unreadable, 5); // every record with an "e" member needs the key
    ASSERT_EQ(withoutKey.size(), 1u);
    EXPECT_EQ(withoutKey[0].id, QStringLiteral("3"));
}

} // namespace
} // namespace furrow
