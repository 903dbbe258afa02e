#include "HttpSession.h"

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>

#include <malloc.h>

#include <array>
#include <limits>
#include <memory>

namespace furrow {

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using Clock = std::chrono::steady_clock;

// Past this many bytes of request or answer body, freed memory is handed back to the system as
// soon as the answer is out: a few large uploads or pages would otherwise keep the process large.
constexpr std::size_t kTrimAfter = 1024 * 1024;
// After answering, what the peer still sends is read and dropped for a moment, so that closing
// with unread bytes does not reset the connection before the peer has read the answer.
constexpr auto kLinger = std::chrono::seconds(1);
constexpr std::size_t kLingerBytes = 1024 * 1024;

// Why reading a request failed, as the answer to give; nothing when the peer is gone or late.
std::optional<HttpAnswer> answerToReadError(const beast::error_code &error)
{
    if (error == http::error::header_limit || error == http::error::buffer_overflow)
        return HttpAnswer::refusal(431, "request head too large");
    if (error == http::error::body_limit)
        return HttpAnswer::refusal(413, "body too large");
    if (error == beast::error::timeout || error == http::error::end_of_stream
        || error == asio::error::eof || error == asio::error::connection_reset)
        return std::nullopt;
    if (error == http::error::partial_message)
        return HttpAnswer::refusal(400, "incomplete body");
    if (error.category() == http::make_error_code(http::error::bad_target).category())
        return HttpAnswer::refusal(400, "bad request"); // any other fault of the request's syntax
    return std::nullopt;
}

template<class Stream>
constexpr bool kSecure = !std::is_same_v<Stream, beast::tcp_stream>;

template<class Stream>
class Session : public std::enable_shared_from_this<Session<Stream>>
{
public:
    template<class... StreamArguments>
    Session(const HttpService &service, ConnectionLimiter::Slot slot, std::string address,
            StreamArguments &&...arguments)
        : m_stream(std::forward<StreamArguments>(arguments)...)
        , m_buffer(service.limits.maxHead)
        , m_service(service)
        , m_handler(service.handler)
        , m_limits(service.limits)
        , m_slot(std::move(slot))
        , m_address(std::move(address))
    {
        m_parser.header_limit(std::uint32_t(m_limits.maxHead));
        // Set once the head is judged, so that refusals keep their order. Not boost::none: this
        // version of the parser then takes any declared length for one over the limit.
        m_parser.body_limit(std::numeric_limits<std::uint64_t>::max());
    }
    void start()
    {
        beast::get_lowest_layer(m_stream).expires_after(m_limits.deadline);
        if constexpr (kSecure<Stream>) {
            m_stream.async_handshake(asio::ssl::stream_base::server,
                                     [self = this->shared_from_this()](beast::error_code error) {
                                         if (!error)
                                             self->readHead();
                                         else if (self->m_service.handshakes)
                                             self->m_service.handshakes->failed(self->m_address,
                                                                                error.message());
                                     });
        } else {
            readHead();
        }
    }

private:
    void readHead()
    {
        http::async_read_header(m_stream, m_buffer, m_parser,
                                [self = this->shared_from_this()](
                                    beast::error_code error, std::size_t) { self->onHead(error); });
    }

    void onHead(const beast::error_code &error)
    {
        if (error)
            return failRead(error);
        m_started = Clock::now();
        if (auto refused = m_handler.judge(m_parser.get(), m_address))
            return answer(std::move(*refused));
        m_parser.body_limit(m_limits.maxBody);
        if (m_parser.get()[http::field::expect] == "100-continue") {
            static const std::string kContinue = "HTTP/1.1 100 Continue\r\n\r\n";
            asio::async_write(
                m_stream, asio::buffer(kContinue),
                [self = this->shared_from_this()](beast::error_code failed, std::size_t) {
                    if (!failed)
                        self->readBody();
                });
            return;
        }
        readBody();
    }

    void readBody()
    {
        http::async_read(m_stream, m_buffer, m_parser,
                         [self = this->shared_from_this()](beast::error_code error, std::size_t) {
                             if (error)
                                 return self->failRead(error);
                             std::string body = self->m_parser.release().body();
                             self->m_bodyBytes = body.size();
                             self->serve(std::move(body));
                         });
    }

    // Serves on the work threads and answers back on the connection's own; the guard keeps the
    // connections' threads running until the answer is back. The session moves on with the
    // answer, so that it never ends on a work thread after the server has let go of it.
    void serve(std::string body)
    {
        asio::post(m_service.work,
                   [self = this->shared_from_this(), body = std::move(body),
                    guard = asio::make_work_guard(m_stream.get_executor())]() mutable {
                       HttpAnswer answer = self->m_handler.serve(std::move(body));
                       asio::post(guard.get_executor(),
                                  [self = std::move(self), answer = std::move(answer)]() mutable {
                                      self->answer(std::move(answer));
                                  });
                   });
    }

    void failRead(const beast::error_code &error)
    {
        if (auto answered = answerToReadError(error))
            answer(std::move(*answered));
    }

    void answer(HttpAnswer answer)
    {
        m_answer = std::move(answer);
        m_response.version(11);
        m_response.result(unsigned(m_answer.status));
        m_response.set(http::field::content_type, m_answer.type);
        for (const auto &[name, value] : m_answer.headers)
            m_response.set(name, value);
        m_response.keep_alive(false);
        m_response.body() = std::move(m_answer.body);
        m_response.prepare_payload();
        beast::get_lowest_layer(m_stream).expires_after(m_limits.deadline);
        http::async_write(m_stream, m_response,
                          [self = this->shared_from_this()](beast::error_code, std::size_t) {
                              self->m_handler.finished(self->m_address, self->m_answer,
                                                       self->m_started);
                              self->releaseMemory();
                              self->close();
                          });
    }

    // The answer is out: its body and the read buffer are not needed during the linger.
    void releaseMemory()
    {
        const bool large = m_bodyBytes > kTrimAfter || m_response.body().size() > kTrimAfter;
        m_response = {};
        m_buffer = beast::flat_buffer();
        if (large)
            malloc_trim(0);
    }

    void close()
    {
        if constexpr (kSecure<Stream>) {
            m_stream.async_shutdown([self = this->shared_from_this()](beast::error_code) {});
        } else {
            beast::error_code ignored;
            m_stream.socket().shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
            m_stream.expires_after(kLinger);
            drain();
        }
    }

    void drain()
    {
        m_stream.async_read_some(
            asio::buffer(m_scrap),
            [self = this->shared_from_this()](beast::error_code error, std::size_t n) {
                self->m_drained += n;
                if (!error && self->m_drained < kLingerBytes)
                    self->drain();
            });
    }

    Stream m_stream;
    beast::flat_buffer m_buffer;
    http::request_parser<http::string_body> m_parser;
    http::response<http::string_body> m_response;
    const HttpService &m_service;
    HttpHandler &m_handler;
    const HttpLimits &m_limits;
    ConnectionLimiter::Slot m_slot;
    const std::string m_address;
    Clock::time_point m_started = Clock::now();
    HttpAnswer m_answer;
    std::size_t m_bodyBytes = 0;
    std::array<char, 8192> m_scrap;
    std::size_t m_drained = 0;
};

} // namespace

void startHttpSession(asio::ip::tcp::socket socket, const HttpService &service,
                      ConnectionLimiter::Slot slot)
{
    beast::error_code error;
    const auto peer = socket.remote_endpoint(error);
    if (error)
        return;
    std::string address = peer.address().to_string();
    if (service.tls) {
        std::make_shared<Session<beast::ssl_stream<beast::tcp_stream>>>(
            service, std::move(slot), std::move(address), std::move(socket), *service.tls)
            ->start();
    } else {
        std::make_shared<Session<beast::tcp_stream>>(service, std::move(slot), std::move(address),
                                                     std::move(socket))
            ->start();
    }
}

} // namespace furrow
