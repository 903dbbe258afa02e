#include "ServerTestKit.h"

#include "sync/TestPrinters.h"

#include "sync/wire/SyncRequest.h"
#include "sync/wire/SyncResponse.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSslCertificate>
#include <QTcpServer>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;
using test::ServerHarness;

const std::string kAuthorisation = "Authorization: Bearer " + ServerHarness::kToken + "\r\n";

SyncRecord sealed(int n, qint64 updatedAt, const char *box = "AAAA")
{
    return {"task", QString::number(n), updatedAt, false, {{"e", SyncValue::text(box)}}};
}

std::string requestBody(const char *device, qint64 since, std::vector<SyncRecord> changes = {})
{
    return SyncRequest{device, since, std::move(changes)}.encode().toStdString();
}

class ServerRulesTest : public testing::Test
{
protected:
    test::RawReply post(const std::string &body, const std::string &token = ServerHarness::kToken,
                        const std::string &extraHeaders = {})
    {
        return test::rawExchange(m_server.port, test::syncRequest(body, token, extraHeaders));
    }

    SyncResponse exchange(const char *device, qint64 since, std::vector<SyncRecord> changes = {})
    {
        // Asked for compression as clients do, the answer still comes plain: sealed bodies
        // barely compress.
        const auto reply = post(requestBody(device, since, std::move(changes)),
                                ServerHarness::kToken, "Accept-Encoding: br, gzip, deflate\r\n");
        EXPECT_EQ(reply.status, 200) << reply.body;
        EXPECT_TRUE(reply.has("Content-Type: application/json; charset=utf-8")) << reply.head;
        EXPECT_EQ(reply.head.find("Content-Encoding"), std::string::npos) << reply.head;
        return SyncResponse::decode(QByteArray::fromStdString(reply.body));
    }

    ServerHarness m_server;
};

TEST_F(ServerRulesTest, onlyAuthorisedPlainPostsToTheSyncPath_areServed)
{
    const std::string body = requestBody("D1", 0), token = ServerHarness::kToken;
    const auto with = [&](const std::string &header) {
        return test::syncRequest(body, {}, header);
    };
    const std::pair<std::string, int> cases[] = {
        {with(""), 401},
        {with("Authorization: Bearer wrong\r\n"), 401},
        {with("Authorization: Basic " + token + "\r\n"), 401},
        {with("Authorization: Bearer " + token + "x\r\n"), 401},
        {with("Authorization: Bearer " + token.substr(0, 8) + "\r\n"), 401},
        {with(kAuthorisation + "Authorization: Bearer wrong\r\n"), 401},
        {with(kAuthorisation), 200},
        {with("Authorization: bearer   " + token + "  \r\n"), 200},
        {with(kAuthorisation + "Content-Encoding: gzip\r\n"), 415},
        // A POST without any length has no body to read.
        {"POST /v1/sync HTTP/1.1\r\nHost: x\r\n" + kAuthorisation + "\r\n", 400},
        {"GET /v1/sync HTTP/1.1\r\nHost: x\r\n" + kAuthorisation + "\r\n", 405},
        {"PUT /v1/sync HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\n\r\n{}", 405},
        {"POST /v1/other HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\n\r\n{}", 404},
        {"POST /v1/sync/ HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\n\r\n{}", 404},
    };
    for (const auto &[request, status] : cases) {
        const auto reply = test::rawExchange(m_server.port, request);
        EXPECT_EQ(reply.status, status) << request;
        EXPECT_EQ(reply.has("WWW-Authenticate: Bearer"), status == 401) << request;
        EXPECT_EQ(reply.has("Allow: POST"), status == 405) << request;
    }
}

TEST_F(ServerRulesTest, oversizedBodies_areRefusedBeforeTheyAreRead)
{
    // The declared length alone decides; no byte of the body is ever sent.
    const std::string head = "POST /v1/sync HTTP/1.1\r\nHost: x\r\n" + kAuthorisation;
    EXPECT_EQ(test::rawExchange(m_server.port, head + "Content-Length: 1000000000\r\n\r\n").status,
              413);

    // A chunked body is cut off once it passes the limit (64 KiB here), long before its end.
    const std::size_t limit = 256 * 1024 * 1024;
    const auto chunked
        = test::rawExchange(m_server.port, head + "Transfer-Encoding: chunked\r\n\r\n", "127.0.0.1",
                            "4000\r\n" + std::string(0x4000, ' ') + "\r\n", limit);
    EXPECT_EQ(chunked.status, 413);
    EXPECT_LT(chunked.sent, limit);

    // Just under the limit is read and judged on its content.
    std::string padded = requestBody("D1", 0);
    padded.insert(1, 64 * 1024 - padded.size() - 1, ' ');
    EXPECT_EQ(post(padded).status, 200);
    EXPECT_EQ(post(padded + "  ").status, 413);
}

TEST_F(ServerRulesTest, malformedRequests_areRefusedAndStoreNothing)
{
    const auto with = [](const char *body) {
        return R"({"device":"D1","since":0,"changes":[{"kind":"task","id":"A","updatedAt":1,)"
               R"("deleted":false,"body":)"
               + std::string(body) + "}]}";
    };
    const std::string cases[] = {
        "",
        "not json",
        R"({"device":"D1","since":1.5,"changes":[]})",
        R"({"device":"D1","since":0,"changes":{}})",
        R"({"device":"","since":0,"changes":[]})",
        R"({"device":"D1","since":0,"changes":[{"kind":"task","id":"A","updatedAt":1,"body":{}}]})",
        with(R"({"e":5})"),
        with(R"({"e":"AAAA","title":"clear"})"),
        with(R"({"title":"Call the plumber"})"),
        with(R"({})"),
        // Nested deeper than the limit: refused before any tree is built.
        R"({"device":"D1","since":0,"changes":[)" + std::string(100, '[') + "]}",
        // Stamped years ahead, it would win every later merge on every device.
        R"({"device":"D1","since":0,"changes":[{"kind":"task","id":"A",)"
        R"("updatedAt":9223372036854775807,"deleted":false,"body":{"e":"AAAA"}}]})",
        R"({"device":"D1","since":0,"changes":[{"kind":"task","id":"A","updatedAt":)"
            + std::to_string(QDateTime::currentMSecsSinceEpoch() + 400LL * 86'400'000)
            + R"(,"deleted":false,"body":{"e":"AAAA"}}]})",
    };
    for (const std::string &body : cases)
        EXPECT_EQ(post(body.substr(0, 60'000)).status, 400) << body.substr(0, 200);
    EXPECT_TRUE(exchange("D2", 0).changes.empty());
    // Brackets inside strings are text, not nesting.
    EXPECT_EQ(post(with((R"({"e":")" + std::string(200, '[') + R"("})").c_str())).status, 200);
}

TEST_F(ServerRulesTest, pushedRecords_replaceOnlyWhenStrictlyLater)
{
    EXPECT_EQ(exchange("D1", 0, {sealed(1, 100, "one")}).accepted, 1);
    // A retried request, an older record and one of equal time change nothing.
    EXPECT_EQ(exchange("D1", 0, {sealed(1, 100, "one")}).accepted, 0);
    EXPECT_EQ(exchange("D2", 0, {sealed(1, 99, "older")}).accepted, 0);
    EXPECT_EQ(exchange("D2", 0, {sealed(1, 100, "same")}).accepted, 0);
    // The same id of another kind is another record.
    SyncRecord page = sealed(1, 50, "page");
    page.kind = QStringLiteral("page");
    EXPECT_EQ(exchange("D2", 0, {sealed(1, 101, "two"), page}).accepted, 2);

    EXPECT_EQ(exchange("D3", 0).changes, (std::vector{sealed(1, 101, "two"), page}));
}

TEST_F(ServerRulesTest, paging_leavesOutOwnWrites_andMovesTheCursorPastThem)
{
    std::vector<SyncRecord> fromD1, fromD2;
    for (int n = 1; n <= 15; ++n)
        (n <= 10 ? fromD1 : fromD2).push_back(sealed(n, 1000 + n));
    exchange("D1", 0, fromD1);

    // D2 pushes its own and pulls: pages of 7 of D1's records, none of its own.
    const SyncResponse page1 = exchange("D2", 0, fromD2);
    EXPECT_EQ(page1.accepted, 5);
    EXPECT_EQ(page1.changes.size(), 7u);
    EXPECT_TRUE(page1.more);
    const SyncResponse page2 = exchange("D2", page1.seq);
    EXPECT_EQ(page2.changes.size(), 3u);
    EXPECT_FALSE(page2.more);
    EXPECT_EQ(page2.seq, 15) << "past D2's own writes";
    EXPECT_EQ(page1.changes.front(), fromD1.front());
    EXPECT_EQ(page2.changes.back(), fromD1.back());
    EXPECT_TRUE(exchange("D2", page2.seq).changes.empty());

    // D1 sees only D2's five. A record D1 changes again comes to D2 once more.
    const SyncResponse toD1 = exchange("D1", 0);
    EXPECT_EQ(toD1.changes, fromD2);
    exchange("D1", toD1.seq, {sealed(3, 2000, "again")});
    const SyncResponse again = exchange("D2", page2.seq);
    EXPECT_EQ(again.changes, std::vector{sealed(3, 2000, "again")});
    // Once D2 overwrites it, D1 gets D2's version.
    exchange("D2", again.seq, {sealed(3, 3000, "D2wins")});
    EXPECT_EQ(exchange("D1", toD1.seq).changes.back(), sealed(3, 3000, "D2wins"));
    // A cursor beyond the database (one that was replaced) misses nothing.
    EXPECT_EQ(exchange("D3", 999).changes.front(), fromD1.front());
}

TEST(ServerPagingTest, pagesAreCappedByBytesToo_butCarryAtLeastOneRecord)
{
    ServerHarness server([](SyncServer::Settings &settings) { settings.pageBytes = 2500; });
    const std::string big(1000, 'A'), huge(4000, 'B');
    std::vector<SyncRecord> pushed;
    for (int n = 1; n <= 4; ++n)
        pushed.push_back(sealed(n, 1000 + n, (n == 3 ? huge : big).c_str()));
    const auto send = [&](const char *device, qint64 since, std::vector<SyncRecord> changes = {}) {
        const auto reply = test::rawExchange(
            server.port, test::syncRequest(requestBody(device, since, std::move(changes)),
                                           ServerHarness::kToken));
        return SyncResponse::decode(QByteArray::fromStdString(reply.body));
    };
    send("D1", 0, pushed);
    std::vector<std::size_t> sizes;
    SyncResponse page{0, 0, true, {}};
    while (page.more) {
        page = send("D2", page.seq);
        sizes.push_back(page.changes.size());
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{2, 1, 1})) << "2 × 1000 fit; 4000 goes alone";
}

TEST_F(ServerRulesTest, log_hasOneLinePerRequest_withoutTokensOrBodies)
{
    exchange("D1", 0, {sealed(1, 10, "SECRETBOX")});
    post(R"({"device":"D1","since":0,"changes":[],"note":"SECRETNOTE"})", "wrong-SECRETTOKEN");
    test::rawExchange(m_server.port, "GET /nowhere HTTP/1.1\r\nHost: x\r\n\r\n");
    m_server.stop();
    const std::string log = m_server.log.str();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3) << log;
    for (const char *secret : {"SECRET", ServerHarness::kToken.c_str(), "Bearer", "/nowhere"})
        EXPECT_EQ(log.find(secret), std::string::npos) << secret << " in " << log;
    EXPECT_NE(log.find(" 127.0.0.1 200 записей: получено 1, принято 1, отдано 0;"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find(" 127.0.0.1 401 "), std::string::npos) << log;
}

TEST(ServerThrottleTest, failedAttempts_pauseTheAddress_butNotOthers)
{
    AuthThrottle::TimePoint now{};
    ServerHarness server(
        [](SyncServer::Settings &settings) {
            settings.throttle = {2, 1min, 10min};
        },
        [&] { return now; });
    const auto send = [&](const std::string &token, const char *source = "127.0.0.1") {
        return test::rawExchange(server.port, test::syncRequest(requestBody("D1", 0), token),
                                 source);
    };
    for (int attempt = 0; attempt < 3; ++attempt)
        EXPECT_EQ(send("wrong").status, 401);
    // Paused now: further failures wait, but a valid token is served, so a stranger cannot
    // lock the owner out; another address is not paused at all.
    const auto paused = send("wrong again");
    EXPECT_EQ(paused.status, 429);
    EXPECT_TRUE(paused.has("Retry-After: 60")) << paused.head;
    EXPECT_EQ(send(ServerHarness::kToken).status, 200);
    EXPECT_EQ(send("wrong again").status, 429) << "the owner's request does not lift the pause";
    EXPECT_EQ(send("wrong", "127.0.0.2").status, 401);
    now += 1min;
    EXPECT_EQ(send("wrong").status, 401);
}

const QString kServer = QStringLiteral(FURROW_SYNC_SERVER);

// A folder with a token file, for the server to start from.
struct ServerFolder : QTemporaryDir
{
    ServerFolder()
    {
        QFile file(tokens);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)
                    && file.write("# laptop\n  process-token-Lz6Wq3Ns8Fh2 \r\n"));
    }
    const QString tokens = filePath(QStringLiteral("tokens"));
};

TEST(ServerProcessTest, helpAndBadStarts_sayWhatIsWrong)
{
    const ServerFolder folder;
    const QString &tokens = folder.tokens;
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost));
    const QString busy = QStringLiteral("127.0.0.1:%1").arg(taken.serverPort());
    const QString db = folder.filePath(QStringLiteral("db/sync.db"));
    const QString weak = folder.filePath(QStringLiteral("weak"));
    QFile weakFile(weak);
    ASSERT_TRUE(weakFile.open(QIODevice::WriteOnly)
                && weakFile.write("# laptop\nprocess-token-Lz6Wq3Ns8Fh2\nhunter2\n"));
    weakFile.close();
    const std::tuple<QStringList, int, const char *> cases[] = {
        {{"--help"}, 0, "--listen HOST:PORT"},
        {{}, 2, "--tokens"},
        {{"--tokens", tokens, "--bogus"}, 2, "--bogus"},
        {{"--tokens", tokens, "--listen", "host:99999"}, 2, "--listen"},
        {{"--tokens", tokens, "--page-size", "ten"}, 2, "--page-size"},
        {{"--tokens", tokens, "--cert", "c.pem"}, 2, "--key"},
        {{"--tokens", "/nonexistent/tokens"}, 1, "/nonexistent/tokens"},
        {{"--tokens", "/dev/null"}, 1, "нет ни одного токена"},
        {{"--tokens", weak, "--db", db}, 1, "строка 3: токен слабее 128 бит"},
        {{"--tokens", tokens, "--db", folder.path()}, 1, "не удалось открыть базу"},
        {{"--tokens", tokens, "--db", db, "--listen", busy}, 1, "не удалось занять адрес"},
        {{"--tokens", tokens, "--db", db, "--cert", tokens, "--key", tokens}, 1, "сертификат"},
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

TEST(ServerProcessTest, withACertificate_printsItsFingerprint)
{
    const ServerFolder folder;
    const auto [cert, key] = test::selfSignedCertificate(folder, "server");
    ASSERT_FALSE(cert.isEmpty());
    QProcess process;
    process.start(kServer, {"--listen", "127.0.0.1:0", "--tokens", folder.tokens, "--db",
                            folder.filePath("sync.db"), "--cert", cert, "--key", key});
    const QByteArray expected
        = "отпечаток сертификата (SHA-256): "
          + QSslCertificate::fromPath(cert).value(0).digest(QCryptographicHash::Sha256).toHex();
    QByteArray output;
    while (!output.contains(expected) && process.waitForReadyRead(10'000))
        output += process.readAllStandardOutput();
    EXPECT_TRUE(output.contains(expected)) << output.toStdString();
    process.terminate();
    EXPECT_TRUE(process.waitForFinished(10'000));
}

TEST(ServerProcessTest, servesUntilSigterm_thenStopsCleanly)
{
    const ServerFolder folder;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", folder.path());
    process.setProcessEnvironment(environment);
    process.start(kServer, {"--listen", "127.0.0.1:0", "--tokens", folder.tokens});
    const QRegularExpression listening(QStringLiteral("слушает http://127\\.0\\.0\\.1:(\\d+)"));
    QByteArray output;
    int port = 0;
    while (port == 0 && process.waitForReadyRead(10'000)) {
        output += process.readAllStandardOutput();
        port = listening.match(QString::fromUtf8(output)).captured(1).toInt();
    }
    ASSERT_NE(port, 0) << output.toStdString();
    EXPECT_EQ(test::rawExchange(port, test::syncRequest(R"({"device":"D","since":0,"changes":[]})",
                                                        "process-token-Lz6Wq3Ns8Fh2"))
                  .status,
              200);

    process.terminate();
    ASSERT_TRUE(process.waitForFinished(10'000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    output += process.readAllStandardOutput();
    EXPECT_TRUE(output.contains(" 127.0.0.1 200 ")) << output.toStdString();
    EXPECT_TRUE(output.endsWith("остановлен\n")) << output.toStdString();
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("furrow-sync/sync.db"))));
}

} // namespace
} // namespace furrow
