#include "RawHttp.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace furrow {
namespace {

const QString kServer = QStringLiteral(FURROW_SYNC_SERVER);

class ServerProcessTest : public testing::Test
{
protected:
    void SetUp() override
    {
        QFile tokens(m_folder.filePath(QStringLiteral("tokens")));
        ASSERT_TRUE(tokens.open(QIODevice::WriteOnly));
        tokens.write("# laptop\nprocess-token\n");
    }

    QString tokens() const { return m_folder.filePath(QStringLiteral("tokens")); }
    QString database() const { return m_folder.filePath(QStringLiteral("db/sync.db")); }

    QTemporaryDir m_folder;
};

TEST_F(ServerProcessTest, helpAndBadStarts_sayWhatIsWrong)
{
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost));
    const QString busy = QStringLiteral("127.0.0.1:%1").arg(taken.serverPort());
    const std::tuple<QStringList, int, const char *> cases[] = {
        {{"--help"}, 0, "--listen HOST:PORT"},
        {{"--tokens", tokens(), "--bogus"}, 2, "--bogus"},
        {{"--tokens", "/nonexistent/tokens"}, 1, "/nonexistent/tokens"},
        {{"--tokens", tokens(), "--db", m_folder.path()}, 1, "не удалось открыть базу"},
        {{"--tokens", tokens(), "--db", database(), "--listen", busy},
         1,
         "не удалось занять адрес"},
        {{"--tokens", tokens(), "--db", database(), "--cert", tokens(), "--key", tokens()},
         1,
         "сертификат"},
    };
    for (const auto &[arguments, exitCode, said] : cases) {
        QProcess process;
        process.start(kServer, arguments);
        ASSERT_TRUE(process.waitForFinished(10'000)) << arguments.join(' ').toStdString();
        EXPECT_EQ(process.exitCode(), exitCode) << arguments.join(' ').toStdString();
        const QByteArray output = process.readAllStandardOutput() + process.readAllStandardError();
        EXPECT_TRUE(output.contains(said)) << output.toStdString();
    }
}

TEST_F(ServerProcessTest, servesUntilSigterm_thenStopsCleanly)
{
    QProcess process;
    process.start(kServer, {"--listen", "127.0.0.1:0", "--db", database(), "--tokens", tokens()});
    const QRegularExpression listening(QStringLiteral("слушает http://127\\.0\\.0\\.1:(\\d+)"));
    QByteArray output;
    int port = 0;
    for (int wait = 0; wait < 50 && port == 0 && process.waitForReadyRead(200); ++wait) {
        output += process.readAllStandardOutput();
        if (const auto match = listening.match(QString::fromUtf8(output)); match.hasMatch())
            port = match.captured(1).toInt();
    }
    ASSERT_NE(port, 0) << output.toStdString();

    const test::RawReply reply = test::rawExchange(
        port, test::syncRequest(R"({"device":"D","since":0,"changes":[]})", "process-token"));
    EXPECT_EQ(reply.status, 200);

    process.terminate();
    ASSERT_TRUE(process.waitForFinished(10'000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    output += process.readAllStandardOutput();
    EXPECT_TRUE(output.contains(" 127.0.0.1 200 ")) << output.toStdString();
    EXPECT_TRUE(output.endsWith("остановлен\n")) << output.toStdString();
    EXPECT_TRUE(QFile::exists(database()));
}

} // namespace
} // namespace furrow
