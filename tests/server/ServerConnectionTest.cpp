#include "ServerTestKit.h"

#include "server/HandshakeLog.h"

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;
using test::ServerHarness;

const std::string kRequest
    = test::syncRequest(R"({"device":"D1","since":0,"changes":[]})", ServerHarness::kToken);

// A connection from `source` that has sent nothing yet.
int connectFrom(int port, const char *source)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, source, &address.sin_addr);
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    address.sin_port = htons(uint16_t(port));
    inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    return fd;
}

// Whether the server closes the connection (reading drains anything it answered) within `wait`.
bool closedWithin(int fd, std::chrono::milliseconds wait)
{
    const auto end = std::chrono::steady_clock::now() + wait;
    char buffer[4096];
    for (auto now = std::chrono::steady_clock::now(); now < end;
         now = std::chrono::steady_clock::now()) {
        pollfd entry{fd, POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now);
        if (poll(&entry, 1, int(left.count())) > 0 && recv(fd, buffer, sizeof buffer, 0) <= 0)
            return true;
    }
    return false;
}

TEST(ServerConnectionTest, connectionsOverTheAddressLimit_areClosed_whileOthersAreServed)
{
    ServerHarness server([](SyncServer::Settings &settings) {
        settings.maxConnectionsPerAddress = 2;
        settings.readTimeout = 1s;
    });
    const int first = connectFrom(server.port, "127.0.0.3");
    const int second = connectFrom(server.port, "127.0.0.3");
    const int third = connectFrom(server.port, "127.0.0.3");
    EXPECT_TRUE(closedWithin(third, 500ms)) << "a third connection from a full address";
    EXPECT_FALSE(closedWithin(first, 200ms));
    EXPECT_EQ(test::rawExchange(server.port, kRequest).status, 200) << "another address";

    // Silent connections end at the deadline, and give their places back.
    EXPECT_TRUE(closedWithin(first, 2s));
    EXPECT_TRUE(closedWithin(second, 1s));
    EXPECT_EQ(test::rawExchange(server.port, kRequest, "127.0.0.3").status, 200);
    for (const int fd : {first, second, third})
        close(fd);
}

TEST(HandshakeLogTest, failedHandshakes_areLoggedAtMostOncePerInterval_withTheCountHeldBack)
{
    std::ostringstream out;
    RequestLog log(out);
    auto now = std::chrono::steady_clock::time_point();
    HandshakeLog handshakes(log, 60s, [&now] { return now; });
    handshakes.failed("10.0.0.7", "tlsv1 alert unknown ca");
    for (int n = 0; n < 5; ++n) {
        now += 10s;
        handshakes.failed("10.0.0.8", "wrong version number");
    }
    now += 11s;
    handshakes.failed("10.0.0.9", "http request");
    const std::string text = out.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2) << text;
    EXPECT_NE(text.find(" TLS-рукопожатие с 10.0.0.7 не удалось: tlsv1 alert unknown ca\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("с 10.0.0.9 не удалось: http request (ещё 5 таких с прошлой записи)\n"),
              std::string::npos)
        << text;
}

} // namespace
} // namespace furrow
