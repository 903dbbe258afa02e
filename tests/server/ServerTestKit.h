#pragma once

#include "server/RequestLog.h"
#include "server/SyncServer.h"
#include "server/SyncStore.h"
#include "server/TokenSet.h"

#include <QProcess>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <functional>
#include <sstream>
#include <thread>

namespace furrow::test {

// The sync server running in the test process on an ephemeral loopback port, with a database
// in a temporary folder and one accepted token. Restarting keeps the database.
struct ServerHarness
{
    static inline const std::string kToken = "test-token-7d1c-Vq4Ls9Xe2Rb8";

    // The settings of the tests, then whatever `adjust` changes.
    explicit ServerHarness(const std::function<void(SyncServer::Settings &)> &adjust = {},
                           AuthThrottle::Now clock = &std::chrono::steady_clock::now)
        : now(std::move(clock))
    {
        settings.maxBody = 64 * 1024;
        settings.pageSize = 7;
        settings.readTimeout = std::chrono::seconds(2);
        settings.throttle.freeFailures = 1000; // only the throttling test is ever throttled
        if (adjust)
            adjust(settings);
        start();
    }
    ~ServerHarness() { stop(); }

    void start()
    {
        store = std::make_unique<SyncStore>(folder.filePath(QStringLiteral("data/sync.db")));
        server = std::make_unique<SyncServer>(*store, tokens, requestLog, settings, now);
        port = server->bind("127.0.0.1", 0);
        thread = std::thread([this] { server->run(); });
    }
    void stop()
    {
        if (!server)
            return;
        server->stop();
        thread.join();
        server.reset();
        store.reset();
    }
    QString url() const
    {
        const char *scheme = settings.certPath.empty() ? "http" : "https";
        return QStringLiteral("%1://127.0.0.1:%2/v1/sync").arg(scheme).arg(port);
    }

    QTemporaryDir folder;
    SyncServer::Settings settings;
    AuthThrottle::Now now;
    TokenSet tokens = TokenSet::fromText(kToken);
    std::ostringstream log; // read only while the server is stopped
    RequestLog requestLog{log};
    std::unique_ptr<SyncStore> store;
    std::unique_ptr<SyncServer> server;
    std::thread thread;
    int port = 0;
};

// A self-signed certificate for 127.0.0.1 and its key, as `name`.pem and `name`.key in `folder`;
// the paths, or empty ones when openssl failed.
inline std::pair<QString, QString> selfSignedCertificate(const QTemporaryDir &folder,
                                                         const QString &name)
{
    const QString cert = folder.filePath(name + ".pem"), key = folder.filePath(name + ".key");
    QProcess openssl;
    openssl.start("openssl",
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
                   "-days", "1", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                   "-keyout", key, "-out", cert});
    if (!openssl.waitForFinished(30'000) || openssl.exitCode() != 0)
        return {};
    return {cert, key};
}

// An HTTP exchange over a plain socket, for requests that a client library would not send:
// lying lengths, bodies that never end, a chosen source address on the loopback network.
struct RawReply
{
    int status = 0; // 0 when no answer came
    std::string head, body;
    std::size_t sent = 0; // how much of the endless part went out before the answer

    // Whether the head holds this header line exactly.
    bool has(const std::string &line) const
    {
        return (head + "\r\n").find("\r\n" + line + "\r\n") != std::string::npos;
    }
};

// A connection to the server's loopback port from `source`, that has sent nothing yet.
inline int connectFrom(int port, const char *source)
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

// Sends `bytes`, then `endless` over and over until an answer comes or `limit` bytes went out,
// and reads the answer until the server closes the connection, as it does after every answer.
inline RawReply rawExchange(int port, const std::string &bytes, const char *source = "127.0.0.1",
                            const std::string &endless = {}, std::size_t limit = 0)
{
    const int fd = connectFrom(port, source);
    const auto readable = [fd](int timeoutMs) {
        pollfd entry{fd, POLLIN, 0};
        return poll(&entry, 1, timeoutMs) > 0;
    };
    RawReply reply;
    send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    while (reply.sent < limit && !readable(0)
           && send(fd, endless.data(), endless.size(), MSG_NOSIGNAL) > 0)
        reply.sent += endless.size();
    std::string data;
    char buffer[16384];
    for (ssize_t n; readable(5000) && (n = recv(fd, buffer, sizeof buffer, 0)) > 0;)
        data.append(buffer, std::size_t(n));
    close(fd);
    if (const auto end = data.find("\r\n\r\n"); data.starts_with("HTTP/1.1 ") && end != data.npos) {
        reply.status = std::stoi(data.substr(9, 3));
        reply.head = data.substr(0, end);
        reply.body = data.substr(end + 4);
    }
    return reply;
}

// A POST /v1/sync; `token` empty sends no Authorization header.
inline std::string syncRequest(const std::string &body, const std::string &token,
                               const std::string &extraHeaders = {})
{
    return "POST /v1/sync HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
           + (token.empty() ? "" : "Authorization: Bearer " + token + "\r\n") + extraHeaders
           + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

} // namespace furrow::test
