#include "RawHttp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <stdexcept>

namespace furrow::test {

namespace {

class Socket
{
public:
    Socket(int port, const char *source)
        : m_fd(socket(AF_INET, SOCK_STREAM, 0))
    {
        if (m_fd < 0)
            throw std::runtime_error("socket");
        if (source) {
            sockaddr_in local{};
            local.sin_family = AF_INET;
            inet_pton(AF_INET, source, &local.sin_addr);
            if (::bind(m_fd, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0)
                throw std::runtime_error("bind");
        }
        sockaddr_in remote{};
        remote.sin_family = AF_INET;
        remote.sin_port = htons(uint16_t(port));
        inet_pton(AF_INET, "127.0.0.1", &remote.sin_addr);
        if (connect(m_fd, reinterpret_cast<sockaddr *>(&remote), sizeof remote) != 0)
            throw std::runtime_error("connect");
    }
    ~Socket() { close(m_fd); }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;

    bool send(const std::string &bytes)
    {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::send(m_fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            done += std::size_t(n);
        }
        return true;
    }

    bool readable(int timeoutMs)
    {
        pollfd entry{m_fd, POLLIN, 0};
        return poll(&entry, 1, timeoutMs) > 0;
    }

    // Everything until the peer closes, waiting at most five seconds in all.
    std::string readAll()
    {
        std::string data;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        char buffer[16384];
        while (std::chrono::steady_clock::now() < deadline && readable(100)) {
            const ssize_t n = recv(m_fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            data.append(buffer, std::size_t(n));
        }
        return data;
    }

private:
    int m_fd;
};

RawReply parse(const std::string &data)
{
    RawReply reply;
    const auto end = data.find("\r\n\r\n");
    if (data.rfind("HTTP/1.1 ", 0) != 0 || end == std::string::npos)
        return reply;
    reply.status = std::stoi(data.substr(9, 3));
    reply.head = data.substr(0, end);
    reply.body = data.substr(end + 4);
    return reply;
}

} // namespace

std::string RawReply::header(const std::string &name) const
{
    std::string lowerHead = head;
    std::string lowerName = "\r\n" + name + ':';
    const auto lower = [](std::string &text) {
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
    };
    lower(lowerHead);
    lower(lowerName);
    const auto at = lowerHead.find(lowerName);
    if (at == std::string::npos)
        return {};
    const auto start = head.find_first_not_of(' ', at + lowerName.size());
    return head.substr(start, head.find("\r\n", start) - start);
}

RawReply rawExchange(int port, const std::string &bytes, const char *source)
{
    Socket socket(port, source);
    socket.send(bytes);
    return parse(socket.readAll());
}

std::string syncRequest(const std::string &body, const std::string &token,
                        const std::string &extraHeaders)
{
    std::string request = "POST /v1/sync HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                          "Content-Type: application/json\r\n";
    if (!token.empty())
        request += "Authorization: Bearer " + token + "\r\n";
    request += extraHeaders;
    request += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    return request;
}

RawReply chunkedUntilAnswered(int port, const std::string &token, std::size_t chunk,
                              std::size_t limit, std::size_t &sent)
{
    Socket socket(port, nullptr);
    socket.send("POST /v1/sync HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " + token
                + "\r\nTransfer-Encoding: chunked\r\n\r\n");
    char size[32];
    std::snprintf(size, sizeof size, "%zx\r\n", chunk);
    const std::string piece = size + std::string(chunk, ' ') + "\r\n";
    sent = 0;
    while (sent < limit && !socket.readable(0) && socket.send(piece))
        sent += chunk;
    return parse(socket.readAll());
}

} // namespace furrow::test
