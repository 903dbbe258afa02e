#include "ServerTestKit.h"

#include "server/HandshakeLog.h"

#include <sys/resource.h>

#include <gtest/gtest.h>

namespace furrow {
namespace {

using namespace std::chrono_literals;
using test::connectFrom;
using test::ServerHarness;

const std::string kRequest
    = test::syncRequest(R"({"device":"D1","since":0,"changes":[]})", ServerHarness::kToken);

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

// The processor time this process has used, all threads together.
std::chrono::microseconds processorTime()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto add = [](const timeval &time) {
        return std::chrono::seconds(time.tv_sec) + std::chrono::microseconds(time.tv_usec);
    };
    return add(usage.ru_utime) + add(usage.ru_stime);
}

// Lowers the limit on open files until it goes, and takes every descriptor left under it, so
// that the server cannot accept anything.
struct NoDescriptorsLeft
{
    explicit NoDescriptorsLeft(int highest)
    {
        getrlimit(RLIMIT_NOFILE, &m_before);
        rlimit tight = m_before;
        tight.rlim_cur = rlim_t(highest) + 1;
        setrlimit(RLIMIT_NOFILE, &tight);
        for (int fd; (fd = dup(0)) >= 0;)
            m_taken.push_back(fd);
    }
    ~NoDescriptorsLeft()
    {
        for (const int fd : m_taken)
            close(fd);
        setrlimit(RLIMIT_NOFILE, &m_before);
    }
    rlimit m_before{};
    std::vector<int> m_taken;
};

TEST(ServerConnectionTest, withoutFreeDescriptors_acceptingPauses_andResumesWhenSomeAreFree)
{
    ServerHarness server;
    std::vector<int> clients;
    for (int n = 0; n < 8; ++n)
        clients.push_back(socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(uint16_t(server.port));
    inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    {
        const NoDescriptorsLeft exhausted(*std::max_element(clients.begin(), clients.end()));
        for (const int fd : clients) {
            connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
            send(fd, kRequest.data(), kRequest.size(), MSG_NOSIGNAL);
        }
        // Waiting connections would wake a loop that retries at once over and over.
        const auto before = processorTime();
        EXPECT_FALSE(closedWithin(clients.front(), 1s));
        EXPECT_LT(processorTime() - before, 150ms) << "the server spins";
    }
    for (const int fd : clients) {
        std::string answer(64, '\0');
        pollfd entry{fd, POLLIN, 0};
        ASSERT_GT(poll(&entry, 1, 5000), 0);
        answer.resize(std::size_t(std::max<ssize_t>(0, recv(fd, answer.data(), answer.size(), 0))));
        EXPECT_TRUE(answer.starts_with("HTTP/1.1 200 ")) << answer;
        close(fd);
    }
    server.stop();
    EXPECT_NE(server.log.str().find("кончились дескрипторы файлов"), std::string::npos);
}

} // namespace
} // namespace furrow
