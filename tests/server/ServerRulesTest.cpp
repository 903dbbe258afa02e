#include "RawHttp.h"
#include "ServerHarness.h"

#include "sync/wire/SyncRequest.h"
#include "sync/wire/SyncResponse.h"

#include <gtest/gtest.h>

namespace furrow {
namespace {

using test::RawReply;
using test::ServerHarness;
using test::syncRequest;

SyncRecord sealed(const QString &id, qint64 updatedAt, const QString &box = QStringLiteral("AAAA"))
{
    return {QStringLiteral("task"),
            id,
            updatedAt,
            false,
            {{QStringLiteral("e"), SyncValue::text(box)}}};
}

std::string requestBody(const QString &device, qint64 since, std::vector<SyncRecord> changes = {})
{
    return SyncRequest{device, since, std::move(changes)}.encode().toStdString();
}

class ServerRulesTest : public testing::Test
{
protected:
    RawReply post(const std::string &body, const std::string &token = ServerHarness::kToken,
                  const std::string &extraHeaders = {})
    {
        return test::rawExchange(m_server.port(), syncRequest(body, token, extraHeaders));
    }

    SyncResponse exchange(const QString &device, qint64 since, std::vector<SyncRecord> changes = {})
    {
        const RawReply reply = post(requestBody(device, since, std::move(changes)));
        EXPECT_EQ(reply.status, 200) << reply.body;
        EXPECT_EQ(reply.header("Content-Type"), "application/json");
        return SyncResponse::decode(QByteArray::fromStdString(reply.body));
    }

    // Everything the device is handed from `since` on, following `more`, with the cursor after.
    std::vector<SyncRecord> pullAll(const QString &device, qint64 &since)
    {
        std::vector<SyncRecord> records;
        for (int page = 0; page < 100; ++page) {
            const SyncResponse response = exchange(device, since);
            records.insert(records.end(), response.changes.begin(), response.changes.end());
            since = response.seq;
            if (!response.more)
                break;
        }
        return records;
    }

    ServerHarness m_server;
};

QString id(int n)
{
    return QStringLiteral("00000000-0000-0000-0000-%1").arg(n, 12, 10, QLatin1Char('0'));
}

TEST_F(ServerRulesTest, authorisation_acceptsOnlyListedBearerTokens)
{
    const std::string body = requestBody(QStringLiteral("D1"), 0);
    const std::tuple<std::string, int> cases[] = {
        {"", 401},
        {"Authorization: Bearer wrong\r\n", 401},
        {"Authorization: Basic " + ServerHarness::kToken + "\r\n", 401},
        {"Authorization: Bearer " + ServerHarness::kToken + "x\r\n", 401},
        {"Authorization: Bearer " + ServerHarness::kToken + "\r\nAuthorization: Bearer wrong\r\n",
         401},
        {"Authorization: Bearer " + ServerHarness::kToken + "\r\n", 200},
        {"Authorization: bearer   " + ServerHarness::kToken + "  \r\n", 200},
    };
    for (const auto &[header, status] : cases) {
        const RawReply reply = post(body, {}, header);
        EXPECT_EQ(reply.status, status) << header;
        if (status == 401) {
            EXPECT_EQ(reply.header("WWW-Authenticate"), "Bearer");
        }
    }
}

TEST_F(ServerRulesTest, routes_answer404ElsewhereAnd405ForOtherMethods)
{
    const std::string authorisation = "Authorization: Bearer " + ServerHarness::kToken + "\r\n";
    const std::tuple<std::string, int> cases[] = {
        {"GET /v1/sync HTTP/1.1\r\nHost: x\r\n" + authorisation + "\r\n", 405},
        {"PUT /v1/sync HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\n\r\n{}", 405},
        {"DELETE /v1/sync HTTP/1.1\r\nHost: x\r\n\r\n", 405},
        {"POST /v1/other HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\n\r\n{}", 404},
        {"POST /v1/sync/ HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\n\r\n{}", 404},
        {"GET / HTTP/1.1\r\nHost: x\r\n\r\n", 404},
    };
    for (const auto &[request, status] : cases) {
        const RawReply reply = test::rawExchange(m_server.port(), request);
        EXPECT_EQ(reply.status, status) << request;
        if (status == 405) {
            EXPECT_EQ(reply.header("Allow"), "POST");
        }
    }
}

TEST_F(ServerRulesTest, oversizedBodies_areRefusedBeforeTheyAreRead)
{
    // The declared length alone decides; no byte of the body is ever sent.
    const std::string claim = "POST /v1/sync HTTP/1.1\r\nHost: x\r\nAuthorization: Bearer "
                              + ServerHarness::kToken + "\r\nContent-Length: 1000000000\r\n\r\n";
    EXPECT_EQ(test::rawExchange(m_server.port(), claim).status, 413);

    // A chunked body is cut off once it passes the limit (64 KiB here), long before the end.
    std::size_t sent = 0;
    const std::size_t limit = 256 * 1024 * 1024;
    const RawReply chunked = test::chunkedUntilAnswered(m_server.port(), ServerHarness::kToken,
                                                        16 * 1024, limit, sent);
    EXPECT_EQ(chunked.status, 413);
    EXPECT_LT(sent, limit);

    // Just under the limit is read and judged on its content.
    std::string padded = requestBody(QStringLiteral("D1"), 0);
    padded.insert(1, 64 * 1024 - padded.size() - 1, ' ');
    EXPECT_EQ(post(padded).status, 200);
    EXPECT_EQ(post(padded + "  ").status, 413);
}

TEST_F(ServerRulesTest, malformedRequests_areRefusedAndStoreNothing)
{
    const QString rec
        = QStringLiteral(R"({"kind":"task","id":"A","updatedAt":1,"deleted":false,"body":%1})");
    const auto with = [&](const QString &body) {
        return QStringLiteral(R"({"device":"D1","since":0,"changes":[%1]})")
            .arg(rec.arg(body))
            .toStdString();
    };
    const std::string cases[] = {
        "",
        "not json",
        "[]",
        R"({"device":"D1","changes":[]})",
        R"({"device":"D1","since":1.5,"changes":[]})",
        R"({"device":"D1","since":0,"changes":{}})",
        R"({"device":"","since":0,"changes":[]})",
        R"({"device":"D1","since":0,"changes":[{"kind":"task","id":"A","updatedAt":1,"body":{"e":"x"}}]})",
        with(R"({"e":5})"),
        with(R"({"e":"AAAA","title":"clear"})"),
        with(R"({"title":"Call the plumber"})"),
        with(R"({})"),
        with(R"({"e":["AAAA"]})"),
    };
    for (const std::string &body : cases)
        EXPECT_EQ(post(body).status, 400) << body;
    // A POST without any length has no body to read.
    const std::string bare = "POST /v1/sync HTTP/1.1\r\nHost: x\r\nAuthorization: Bearer "
                             + ServerHarness::kToken + "\r\n\r\n";
    EXPECT_EQ(test::rawExchange(m_server.port(), bare).status, 400);
    EXPECT_EQ(
        post(with(R"({"e":"AAAA"})"), ServerHarness::kToken, "Content-Encoding: gzip\r\n").status,
        415);
    qint64 since = 0;
    EXPECT_TRUE(pullAll(QStringLiteral("D2"), since).empty());
}

TEST_F(ServerRulesTest, pushedRecords_replaceOnlyWhenStrictlyLater)
{
    const QString d1 = QStringLiteral("D1"), d2 = QStringLiteral("D2");
    EXPECT_EQ(exchange(d1, 0, {sealed(id(1), 100, "one")}).accepted, 1);
    // A retried request, an older record and one of equal time change nothing.
    EXPECT_EQ(exchange(d1, 0, {sealed(id(1), 100, "one")}).accepted, 0);
    EXPECT_EQ(exchange(d2, 0, {sealed(id(1), 99, "older")}).accepted, 0);
    EXPECT_EQ(exchange(d2, 0, {sealed(id(1), 100, "same time")}).accepted, 0);
    // The same id of another kind is another record.
    SyncRecord page = sealed(id(1), 50, "page");
    page.kind = QStringLiteral("page");
    EXPECT_EQ(exchange(d2, 0, {sealed(id(1), 101, "two"), page}).accepted, 2);

    qint64 since = 0;
    const std::vector<SyncRecord> seen = pullAll(QStringLiteral("D3"), since);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], sealed(id(1), 101, "two"));
    EXPECT_EQ(seen[1], page);
}

TEST_F(ServerRulesTest, paging_leavesOutOwnWrites_andMovesTheCursorPastThem)
{
    const QString d1 = QStringLiteral("D1"), d2 = QStringLiteral("D2");
    std::vector<SyncRecord> first;
    for (int n = 1; n <= 10; ++n)
        first.push_back(sealed(id(n), 1000 + n));
    exchange(d1, 0, first);
    std::vector<SyncRecord> second;
    for (int n = 11; n <= 15; ++n)
        second.push_back(sealed(id(n), 1000 + n));

    // D2 pushes its own and pulls: pages of 7 of D1's records, none of its own.
    const SyncResponse page1 = exchange(d2, 0, second);
    EXPECT_EQ(page1.accepted, 5);
    EXPECT_EQ(page1.changes.size(), 7u);
    EXPECT_TRUE(page1.more);
    const SyncResponse page2 = exchange(d2, page1.seq);
    EXPECT_EQ(page2.changes.size(), 3u);
    EXPECT_FALSE(page2.more);
    EXPECT_EQ(page2.seq, 15) << "past D2's own writes";
    EXPECT_EQ(page1.changes[0].id, id(1));
    EXPECT_EQ(page2.changes[2].id, id(10));
    EXPECT_TRUE(exchange(d2, page2.seq).changes.empty());

    // D1 sees only D2's five. A record D1 changes again comes to D2 once more.
    qint64 d1Since = 0;
    EXPECT_EQ(pullAll(d1, d1Since).size(), 5u);
    exchange(d1, d1Since, {sealed(id(3), 2000, "again")});
    const SyncResponse again = exchange(d2, page2.seq);
    ASSERT_EQ(again.changes.size(), 1u);
    EXPECT_EQ(again.changes[0], sealed(id(3), 2000, "again"));
    // Once D2 overwrites it, D1 gets D2's version and D2 no longer sees it.
    exchange(d2, again.seq, {sealed(id(3), 3000, "D2 wins")});
    EXPECT_EQ(exchange(d1, d1Since).changes.back(), sealed(id(3), 3000, "D2 wins"));
}

TEST_F(ServerRulesTest, cursorBeyondTheDatabase_startsOver)
{
    exchange(QStringLiteral("D1"), 0, {sealed(id(1), 10), sealed(id(2), 20)});
    const SyncResponse response = exchange(QStringLiteral("D2"), 999);
    EXPECT_EQ(response.changes.size(), 2u);
    EXPECT_EQ(response.seq, 2);
}

TEST_F(ServerRulesTest, restart_losesNothing_andKeepsCountingUp)
{
    exchange(QStringLiteral("D1"), 0, {sealed(id(1), 10), sealed(id(2), 20)});
    m_server.stop();
    m_server.start();
    const SyncResponse after = exchange(QStringLiteral("D1"), 0, {sealed(id(3), 30)});
    EXPECT_EQ(after.seq, 3);
    qint64 since = 0;
    EXPECT_EQ(pullAll(QStringLiteral("D2"), since).size(), 3u);
}

TEST_F(ServerRulesTest, log_hasOneLinePerRequest_withoutTokensOrBodies)
{
    exchange(QStringLiteral("D1"), 0, {sealed(id(1), 10, "SECRETBOX")});
    post(R"({"device":"D1","since":0,"changes":[],"note":"SECRETNOTE"})", "wrong-SECRETTOKEN");
    test::rawExchange(m_server.port(), "GET /nowhere HTTP/1.1\r\nHost: x\r\n\r\n");
    m_server.stop();
    const std::string log = m_server.log();
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
    SyncServer::Settings settings = ServerHarness::defaultSettings();
    settings.throttle = {2, std::chrono::minutes(1), std::chrono::minutes(10)};
    ServerHarness server(settings, [&] { return now; });
    const std::string body = requestBody(QStringLiteral("D1"), 0);
    const auto send = [&](const std::string &token, const char *source = nullptr) {
        return test::rawExchange(server.port(), syncRequest(body, token), source);
    };
    for (int attempt = 0; attempt < 3; ++attempt)
        EXPECT_EQ(send("wrong").status, 401);
    // Paused now: not even the right token is looked at, but another address is served.
    const RawReply paused = send(ServerHarness::kToken);
    EXPECT_EQ(paused.status, 429);
    EXPECT_EQ(paused.header("Retry-After"), "60");
    EXPECT_EQ(send(ServerHarness::kToken, "127.0.0.2").status, 200);
    now += std::chrono::minutes(1);
    EXPECT_EQ(send(ServerHarness::kToken).status, 200);
}

} // namespace
} // namespace furrow
