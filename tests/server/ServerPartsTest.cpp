#include "server/AuthThrottle.h"
#include "server/ServerError.h"
#include "server/ServerOptions.h"
#include "server/TokenSet.h"

#include <QByteArray>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;

TEST(AuthThrottleTest, pausesDoubleUpToTheLongest_andEndWithSuccessOrQuiet)
{
    AuthThrottle::TimePoint now{};
    AuthThrottle throttle({2, 1s, 8s}, [&] { return now; });
    const std::string address = "192.0.2.1";
    std::vector<long long> pauses;
    for (int attempt = 0; attempt < 7; ++attempt) {
        throttle.failed(address);
        pauses.push_back(throttle.pauseLeft(address).count());
    }
    EXPECT_EQ(pauses, (std::vector<long long>{0, 0, 1000, 2000, 4000, 8000, 8000}));
    EXPECT_EQ(throttle.pauseLeft("192.0.2.2"), 0ms);

    throttle.succeeded(address);
    throttle.failed(address);
    throttle.failed(address);
    EXPECT_EQ(throttle.pauseLeft(address), 0ms) << "a success starts the count afresh";

    throttle.failed(address);
    EXPECT_EQ(throttle.pauseLeft(address), 1000ms);
    now += 17s;
    throttle.failed(address);
    EXPECT_EQ(throttle.pauseLeft(address), 0ms) << "a long quiet starts the count afresh";
}

TEST(TokenSetTest, readsOneTokenPerLine_andComparesWholeTokens)
{
    const TokenSet tokens = TokenSet::fromText("# laptop\n  alpha-1 \r\n\n#beta\ngamma two\n");
    EXPECT_EQ(tokens.size(), 2u);
    EXPECT_TRUE(tokens.accepts("alpha-1"));
    EXPECT_TRUE(tokens.accepts("gamma two"));
    for (const char *refused : {"", "alpha", "alpha-12", "#beta", "beta", "ALPHA-1"})
        EXPECT_FALSE(tokens.accepts(refused)) << refused;
}

TEST(TokenSetTest, fileWithoutTokensOrUnreadable_isAnError)
{
    EXPECT_THROW(TokenSet::fromFile("/nonexistent/tokens"), ServerError);
    try {
        TokenSet::fromFile("/dev/null");
        ADD_FAILURE() << "an empty file gave tokens";
    } catch (const ServerError &error) {
        EXPECT_NE(std::string(error.what()).find("нет ни одного токена"), std::string::npos);
    }
}

TEST(ServerOptionsTest, defaultsAndEveryFlag)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/srv/data");
    const ServerOptions defaults = ServerOptions::parse({"--tokens", "t"});
    EXPECT_EQ(defaults.listenText(), "127.0.0.1:8787");
    EXPECT_EQ(defaults.databasePath, "/srv/data/furrow-sync/sync.db");
    EXPECT_EQ(defaults.maxBody, 8u * 1024 * 1024);
    EXPECT_EQ(defaults.pageSize, 500);
    EXPECT_TRUE(defaults.certPath.empty());

    const ServerOptions all = ServerOptions::parse(
        {"--listen", "[::1]:9000", "--db=/tmp/s.db", "--tokens", "t", "--cert", "c.pem", "--key",
         "k.pem", "--max-body", "2048", "--page-size=7"});
    EXPECT_EQ(all.host, "::1");
    EXPECT_EQ(all.port, 9000);
    EXPECT_EQ(all.listenText(), "[::1]:9000");
    EXPECT_EQ(all.databasePath, "/tmp/s.db");
    EXPECT_EQ(all.certPath, "c.pem");
    EXPECT_EQ(all.keyPath, "k.pem");
    EXPECT_EQ(all.maxBody, 2048u);
    EXPECT_EQ(all.pageSize, 7);

    EXPECT_TRUE(ServerOptions::parse({"--db", "x", "--help"}).help);
    qputenv("XDG_DATA_HOME", saved);
}

TEST(ServerOptionsTest, badCommandLines_areErrorsNamingTheProblem)
{
    const std::pair<std::vector<std::string>, const char *> cases[] = {
        {{}, "--tokens"},
        {{"--tokens"}, "--tokens"},
        {{"--tokens", "t", "--verbose"}, "--verbose"},
        {{"--tokens", "t", "--listen", "localhost"}, "--listen"},
        {{"--tokens", "t", "--listen", "host:99999"}, "--listen"},
        {{"--tokens", "t", "--listen", ":80"}, "--listen"},
        {{"--tokens", "t", "--max-body", "-5"}, "--max-body"},
        {{"--tokens", "t", "--max-body", "12"}, "--max-body"},
        {{"--tokens", "t", "--page-size", "0"}, "--page-size"},
        {{"--tokens", "t", "--page-size", "ten"}, "--page-size"},
        {{"--tokens", "t", "--cert", "c.pem"}, "--key"},
    };
    for (const auto &[arguments, named] : cases) {
        try {
            ServerOptions::parse(arguments);
            ADD_FAILURE() << "accepted " << testing::PrintToString(arguments);
        } catch (const ServerError &error) {
            EXPECT_NE(std::string(error.what()).find(named), std::string::npos) << error.what();
        }
    }
}

} // namespace
} // namespace furrow
