#pragma once

#include "ConnectionLimiter.h"
#include "HandshakeLog.h"
#include "RequestLog.h"

#include <boost/asio/any_io_executor.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/beast/http/message.hpp>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace furrow {

// What the server answers to one request.
struct HttpAnswer
{
    int status = 200;
    std::string body;
    std::string type = "text/plain; charset=utf-8";
    std::vector<std::pair<std::string, std::string>> headers;
    std::optional<RequestLog::Counts> counts; // for the log line of a served sync request

    // A refusal with its reason as a line of plain text.
    static HttpAnswer refusal(int status, const std::string &reason)
    {
        return {status, reason + '\n', "text/plain; charset=utf-8", {}, std::nullopt};
    }
};

// Decides what a connection's one request gets; called from the connection's thread.
class HttpHandler
{
public:
    using Head = boost::beast::http::request_header<>;

    virtual ~HttpHandler() = default;
    // Judges the head before any byte of the body is read: an answer refuses the request.
    virtual std::optional<HttpAnswer> judge(const Head &head, const std::string &address) = 0;
    virtual HttpAnswer serve(std::string body) = 0;
    // The answer went out, or the connection ended trying.
    virtual void finished(const std::string &address, const HttpAnswer &answer,
                          std::chrono::steady_clock::time_point started)
        = 0;
};

struct HttpLimits
{
    std::size_t maxHead = 8 * 1024; // request line and headers together
    std::size_t maxBody = 8 * 1024 * 1024;
    // From the connection's arrival until its whole request is read, TLS handshake included;
    // then again for writing the answer.
    std::chrono::steady_clock::duration deadline = std::chrono::seconds(5);
};

// What the connections of one server share. Requests are served on `work`, a few threads apart
// from those that read and write, so that a slow request never stalls other connections and
// only as many requests are in memory at once as there are threads to serve them.
struct HttpService
{
    HttpHandler &handler;
    HttpLimits limits;
    boost::asio::ssl::context *tls = nullptr; // set: each connection starts with a handshake
    HandshakeLog *handshakes = nullptr;       // told of every handshake that fails
    boost::asio::any_io_executor work;
};

// Serves one request on an accepted connection, then closes it, so that a body left unread by
// a refusal is never taken for a next request. Runs on the socket's executor; nothing waits.
void startHttpSession(boost::asio::ip::tcp::socket socket, const HttpService &service,
                      ConnectionLimiter::Slot slot);

} // namespace furrow
