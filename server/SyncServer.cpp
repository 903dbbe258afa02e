#include "SyncServer.h"

#include "ServerError.h"
#include "TokenSet.h"

#include <httplib.h>

#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace furrow {

namespace {

using Clock = std::chrono::steady_clock;

const std::string kPath = "/v1/sync";

// What the log line of the request being served on this thread needs besides the response.
struct RequestTrace
{
    std::optional<Clock::time_point> started;
    std::optional<RequestLog::Counts> counts;
};
thread_local RequestTrace t_trace;

void refuse(httplib::Response &response, int status, const std::string &reason)
{
    response.status = status;
    response.set_content(reason + '\n', "text/plain; charset=utf-8");
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x))
                      == std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<std::size_t> parseLength(const std::string &text)
{
    if (text.empty() || text.size() > 19
        || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::size_t(std::stoull(text));
}

// Only SO_REUSEADDR: the library's default also sets SO_REUSEPORT, which would let a second
// server share the port silently instead of failing to start.
void listeningSocketOptions(int socket)
{
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

std::unique_ptr<httplib::Server> makeHttp(const SyncServer::Settings &settings)
{
    if (settings.certPath.empty() && settings.keyPath.empty())
        return std::make_unique<httplib::Server>();
    auto https
        = std::make_unique<httplib::SSLServer>(settings.certPath.c_str(), settings.keyPath.c_str());
    if (!https->is_valid())
        throw ServerError("не удалось загрузить сертификат " + settings.certPath + " и ключ "
                          + settings.keyPath);
    return https;
}

} // namespace

SyncServer::SyncServer(SyncStore &store, const TokenSet &tokens, RequestLog &log, Settings settings,
                       AuthThrottle::Now now)
    : m_service(store, settings.pageSize, settings.pageBytes)
    , m_tokens(tokens)
    , m_log(log)
    , m_settings(std::move(settings))
    , m_throttle(m_settings.throttle, std::move(now))
    , m_http(makeHttp(m_settings))
{
    m_http->set_socket_options(listeningSocketOptions);
    m_http->set_keep_alive_max_count(1);
    m_http->set_read_timeout(m_settings.readTimeout);
    m_http->set_write_timeout(m_settings.readTimeout);
    m_http->set_payload_max_length(m_settings.maxBody);
    installRoutes();
}

SyncServer::~SyncServer() = default;

void SyncServer::installRoutes()
{
    m_http->set_pre_routing_handler(
        [this](const httplib::Request &request, httplib::Response &response) {
            return preRoute(request, response) ? httplib::Server::HandlerResponse::Handled
                                               : httplib::Server::HandlerResponse::Unhandled;
        });
    m_http->Post(kPath, [this](const httplib::Request &request, httplib::Response &response,
                               const httplib::ContentReader &reader) {
        serveSync(request, response, reader);
    });
    // The library would otherwise put the exception's text into a response header.
    m_http->set_exception_handler(
        [](const httplib::Request &, httplib::Response &response, std::exception_ptr) {
            refuse(response, 500, "internal error");
        });
    m_http->set_logger([this](const httplib::Request &request, const httplib::Response &response) {
        logRequest(request, response);
    });
}

int SyncServer::bind(const std::string &host, int port)
{
    const int bound = port == 0 ? m_http->bind_to_any_port(host)
                                : (m_http->bind_to_port(host, port) ? port : -1);
    if (bound < 0) {
        throw ServerError("не удалось занять адрес " + host + ':' + std::to_string(port) + " — "
                          + std::strerror(errno));
    }
    return bound;
}

bool SyncServer::run()
{
    return m_http->listen_after_bind();
}

void SyncServer::stop()
{
    m_http->stop();
}

// Runs before any body is read: everything but POST /v1/sync is answered here.
bool SyncServer::preRoute(const httplib::Request &request, httplib::Response &response)
{
    t_trace = RequestTrace{Clock::now(), std::nullopt};
    if (request.path != kPath) {
        refuse(response, 404, "not found");
        return true;
    }
    if (request.method != "POST") {
        refuse(response, 405, "only POST");
        response.set_header("Allow", "POST");
        return true;
    }
    return false;
}

void SyncServer::serveSync(const httplib::Request &request, httplib::Response &response,
                           const httplib::ContentReader &reader)
{
    std::string body;
    if (!authorise(request, response) || !readBody(request, response, reader, body))
        return;
    const SyncService::Outcome outcome = m_service.handle(body);
    if (!outcome.storeError.isEmpty())
        m_log.note("ошибка базы: " + outcome.storeError.toStdString());
    response.status = outcome.status;
    // The charset keeps cpp-httplib from compressing the answer, which it does only for the bare
    // JSON type: sealed bodies are random bytes in base64, and compressing them cost far more
    // time than it saved bytes.
    const char *type
        = outcome.status == 200 ? "application/json; charset=utf-8" : "text/plain; charset=utf-8";
    response.set_content(outcome.body.constData(), std::size_t(outcome.body.size()), type);
    if (outcome.status == 200)
        t_trace.counts = RequestLog::Counts{outcome.received, outcome.accepted, outcome.sent};
}

bool SyncServer::authorise(const httplib::Request &request, httplib::Response &response)
{
    const std::string &address = request.remote_addr;
    const bool single = request.get_header_value_count("Authorization") == 1;
    const bool valid
        = single
          && m_tokens.accepts(TokenSet::bearerToken(request.get_header_value("Authorization")));
    // Only failed attempts pause: a device with a valid token is served even while a stranger
    // on the same address (or behind the same proxy) is paused for guessing.
    const auto pause = m_throttle.pauseLeft(address);
    if (valid) {
        if (pause.count() == 0)
            m_throttle.succeeded(address);
        return true;
    }
    if (pause.count() > 0) {
        refuse(response, 429, "too many failed attempts");
        response.set_header("Retry-After", std::to_string((pause.count() + 999) / 1000));
        return false;
    }
    m_throttle.failed(address);
    refuse(response, 401, "unauthorised");
    response.set_header("WWW-Authenticate", "Bearer");
    return false;
}

// Refuses, unread, a body the server would not take: compressed, of an unclear length, or
// declared larger than the limit. Answers whether there is a body to read.
bool SyncServer::acceptsFraming(const httplib::Request &request, httplib::Response &response) const
{
    const std::string encoding = request.get_header_value("Content-Encoding");
    if (!encoding.empty() && !equalsIgnoringCase(encoding, "identity")) {
        refuse(response, 415, "compressed bodies are not accepted");
        return false;
    }
    const bool hasLength = request.has_header("Content-Length");
    const bool hasTransfer = request.has_header("Transfer-Encoding");
    if (hasLength && hasTransfer) {
        refuse(response, 400, "both Content-Length and Transfer-Encoding");
        return false;
    }
    if (hasTransfer
        && !equalsIgnoringCase(request.get_header_value("Transfer-Encoding"), "chunked")) {
        refuse(response, 400, "unsupported transfer encoding");
        return false;
    }
    if (!hasLength)
        return true;
    const auto length = parseLength(request.get_header_value("Content-Length"));
    if (!length) {
        refuse(response, 400, "bad Content-Length");
        return false;
    }
    if (*length > m_settings.maxBody) {
        refuse(response, 413, "body too large");
        return false;
    }
    return true;
}

// Reads the body up to the limit; a chunked body is dropped as soon as it grows past it.
bool SyncServer::readBody(const httplib::Request &request, httplib::Response &response,
                          const httplib::ContentReader &reader, std::string &body) const
{
    if (!acceptsFraming(request, response))
        return false;
    // Without a length and not chunked there is no body; reading would wait for the peer to
    // close the connection.
    if (!request.has_header("Content-Length") && !request.has_header("Transfer-Encoding"))
        return true;
    bool tooLarge = false;
    const bool complete = reader([&](const char *data, std::size_t size) {
        if (body.size() + size > m_settings.maxBody) {
            tooLarge = true;
            return false;
        }
        body.append(data, size);
        return true;
    });
    if (tooLarge) {
        refuse(response, 413, "body too large");
        return false;
    }
    if (!complete) {
        refuse(response, 400, "incomplete body");
        return false;
    }
    return true;
}

void SyncServer::logRequest(const httplib::Request &request, const httplib::Response &response)
{
    const Clock::time_point now = Clock::now();
    RequestLog::Entry entry;
    entry.at = std::chrono::system_clock::now();
    entry.address = request.remote_addr.empty() ? "-" : request.remote_addr;
    entry.status = response.status;
    entry.counts = t_trace.counts;
    if (t_trace.started)
        entry.duration
            = std::chrono::duration_cast<std::chrono::microseconds>(now - *t_trace.started);
    t_trace = {};
    m_log.request(entry);
}

} // namespace furrow
