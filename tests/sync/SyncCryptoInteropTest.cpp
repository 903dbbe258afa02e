#include "TestPrinters.h"

#include "sync/SyncCrypto.h"
#include "sync/wire/SyncBodyCoding.h"

#include <QProcess>

#include <gtest/gtest.h>

namespace furrow {
namespace {

// Runs the independent implementation; the interpreter and script are fixed at configure time.
QString runPython(const QStringList &arguments, int *exitCode)
{
    QProcess process;
    process.start(QStringLiteral(FURROW_PYTHON3),
                  QStringList{QStringLiteral(FURROW_SEALING_CHECK)} + arguments);
    if (!process.waitForFinished(30000)) {
        *exitCode = -1;
        return process.errorString();
    }
    *exitCode = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

const QString kPhrase = QStringLiteral(" грядка 🌱\n");

const SyncBody kBody{{QStringLiteral("title"), SyncValue::text(QStringLiteral("Позвонить 🔧"))},
                     {QStringLiteral("order"), SyncValue::number(-9007199254740993)},
                     {QStringLiteral("done"), SyncValue::flag(true)},
                     {QStringLiteral("project"), SyncValue::blank()}};

TEST(SyncCryptoInterop, bodySealedHere_opensWithPythonCryptography)
{
    const QString sealed = SyncCrypto::fromPhrase(kPhrase)->seal(kBody);
    int exitCode = 0;
    const QString plaintext = runPython({QStringLiteral("open"), kPhrase, sealed}, &exitCode);
    ASSERT_EQ(exitCode, 0) << plaintext.toStdString();
    EXPECT_EQ(SyncBodyCoding::decode(plaintext.toUtf8()), kBody);
}

TEST(SyncCryptoInterop, bodySealedByPythonCryptography_opensHere)
{
    const QString json = QString::fromUtf8(SyncBodyCoding::encode(kBody));
    int exitCode = 0;
    const QString sealed = runPython({QStringLiteral("seal"), kPhrase, json}, &exitCode);
    ASSERT_EQ(exitCode, 0) << sealed.toStdString();
    EXPECT_EQ(SyncCrypto::fromPhrase(kPhrase)->open(sealed), kBody);
    EXPECT_FALSE(SyncCrypto::fromPhrase(QStringLiteral("грядка"))->open(sealed));
}

} // namespace
} // namespace furrow
