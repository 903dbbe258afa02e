#include "SyncServer.h"

#include "ConnectionLimiter.h"
#include "DescriptorLimit.h"
#include "HttpSession.h"
#include "ServerError.h"
#include "SyncRequestHandler.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/ssl/context.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/strand.hpp>
#include <boost/asio/thread_pool.hpp>

#include <algorithm>
#include <optional>
#include <thread>
#include <vector>

namespace furrow {

namespace asio = boost::asio;
using asio::ip::tcp;

// Reading and writing take little time: two threads do it for every connection.
constexpr unsigned kConnectionThreads = 2;
// Out of file descriptors, accepting pauses (doubling up to the longest) until some are free
// again, rather than retrying at once: a waiting connection would wake it again immediately.
constexpr std::chrono::milliseconds kFirstPause{50};
constexpr std::chrono::milliseconds kLongestPause{1000};
constexpr const char *kTls12Ciphers
    = "ECDHE-ECDSA-AES128-GCM-SHA256:ECDHE-RSA-AES128-GCM-SHA256:ECDHE-ECDSA-AES256-GCM-SHA384:"
      "ECDHE-RSA-AES256-GCM-SHA384:ECDHE-ECDSA-CHACHA20-POLY1305:ECDHE-RSA-CHACHA20-POLY1305";

// The listening socket, the threads and the limits that the server's connections share.
struct SyncServer::Network
{
    Network(const Settings &settings, HttpHandler &handler, RequestLog &log)
        : handshakes(log)
        , connectionCap(DescriptorLimit::connectionCap(settings.maxConnections))
        , workers(settings.threads > 0 ? settings.threads
                                       : std::max(2u, std::thread::hardware_concurrency()))
        // When few files may be open, one address still takes no more than a quarter.
        , limiter(connectionCap, std::min(settings.maxConnectionsPerAddress,
                                          std::max<std::size_t>(1, connectionCap / 4)))
        , service{handler,
                  {settings.maxHead, settings.maxBody, settings.readTimeout},
                  nullptr,
                  &handshakes,
                  workers.get_executor()}
    {}

    HandshakeLog handshakes;
    const std::size_t connectionCap;
    asio::io_context io{int(kConnectionThreads)};
    asio::thread_pool workers;
    tcp::acceptor acceptor{asio::make_strand(io)}; // its strand orders accepting and closing
    asio::steady_timer pause{acceptor.get_executor()};
    std::chrono::milliseconds pauseLength{0};
    std::optional<asio::ssl::context> tls;
    ConnectionLimiter limiter;
    HttpService service;
};

namespace {

// Accepting failed for want of descriptors or kernel memory, not because of the peer.
bool outOfResources(const boost::system::error_code &error)
{
    return error == asio::error::no_descriptors
           || error == boost::system::errc::too_many_files_open_in_system
           || error == asio::error::no_buffer_space || error == asio::error::no_memory;
}

std::optional<asio::ssl::context> makeTls(const SyncServer::Settings &settings)
{
    if (settings.certPath.empty() && settings.keyPath.empty())
        return std::nullopt;
    std::optional<asio::ssl::context> tls(std::in_place, asio::ssl::context::tls_server);
    boost::system::error_code error;
    tls->set_options(asio::ssl::context::default_workarounds | asio::ssl::context::no_sslv2
                         | asio::ssl::context::no_sslv3 | asio::ssl::context::no_tlsv1
                         | asio::ssl::context::no_tlsv1_1,
                     error);
    // TLS 1.2 only with forward secrecy and an AEAD cipher; TLS 1.3 offers nothing else.
    SSL_CTX *native = tls->native_handle();
    if (SSL_CTX_set_min_proto_version(native, TLS1_2_VERSION) != 1
        || SSL_CTX_set_cipher_list(native, kTls12Ciphers) != 1)
        throw ServerError("OpenSSL не принял набор шифров TLS");
    SSL_CTX_set_options(native, SSL_OP_NO_RENEGOTIATION);
    tls->use_certificate_chain_file(settings.certPath, error);
    if (!error)
        tls->use_private_key_file(settings.keyPath, asio::ssl::context::pem, error);
    if (error)
        throw ServerError("не удалось загрузить сертификат " + settings.certPath + " и ключ "
                          + settings.keyPath);
    return tls;
}

} // namespace

SyncServer::SyncServer(SyncStore &store, const TokenSet &tokens, RequestLog &log, Settings settings,
                       AuthThrottle::Now now)
    : m_service(store, settings.pageSize, settings.pageBytes)
    , m_tokens(tokens)
    , m_log(log)
    , m_settings(std::move(settings))
    , m_throttle(m_settings.throttle, std::move(now))
    , m_handler(std::make_unique<SyncRequestHandler>(m_service, m_tokens, m_log, m_throttle,
                                                     m_settings.maxBody))
    , m_network(std::make_unique<Network>(m_settings, *m_handler, m_log))
{
    m_network->tls = makeTls(m_settings);
    if (m_network->tls)
        m_network->service.tls = &*m_network->tls;
}

SyncServer::~SyncServer() = default;

// Only SO_REUSEADDR, never SO_REUSEPORT: a second server on the port must fail to start rather
// than share it silently.
int SyncServer::bind(const std::string &host, int port)
{
    boost::system::error_code error;
    tcp::acceptor &acceptor = m_network->acceptor;
    const auto fail = [&] {
        acceptor.close(error);
        return ServerError("не удалось занять адрес " + host + ':' + std::to_string(port) + " — "
                           + error.message());
    };
    tcp::resolver resolver(m_network->io);
    const auto found = resolver.resolve(host, std::to_string(port), tcp::resolver::passive, error);
    if (error || found.empty())
        throw fail();
    const tcp::endpoint endpoint = found.begin()->endpoint();
    acceptor.open(endpoint.protocol(), error);
    if (!error)
        acceptor.set_option(tcp::acceptor::reuse_address(true), error);
    if (!error)
        acceptor.bind(endpoint, error);
    if (!error)
        acceptor.listen(m_settings.listenBacklog, error);
    if (error)
        throw fail();
    return acceptor.local_endpoint().port();
}

bool SyncServer::run()
{
    if (!m_network->acceptor.is_open())
        return false;
    accept();
    std::vector<std::thread> helpers;
    for (unsigned n = 1; n < kConnectionThreads; ++n)
        helpers.emplace_back([this] { m_network->io.run(); });
    m_network->io.run();
    for (std::thread &helper : helpers)
        helper.join();
    m_network->workers.join(); // nothing is left for them once the connections are done
    return true;
}

// Closing the acceptor lets the threads run out once the connections in progress are done, each
// within its deadline.
void SyncServer::stop()
{
    asio::post(m_network->acceptor.get_executor(), [this] {
        boost::system::error_code ignored;
        m_network->acceptor.close(ignored);
        m_network->pause.cancel();
    });
}

std::size_t SyncServer::connectionCap() const
{
    return m_network->connectionCap;
}

void SyncServer::accept()
{
    m_network->acceptor.async_accept(
        asio::make_strand(m_network->io),
        [this](boost::system::error_code error, tcp::socket socket) {
            if (!m_network->acceptor.is_open())
                return;
            if (outOfResources(error))
                return pauseAccepting();
            m_network->pauseLength = {};
            if (!error) {
                boost::system::error_code unknown;
                const auto peer = socket.remote_endpoint(unknown);
                if (auto slot = m_network->limiter.admit(unknown ? std::string()
                                                                 : peer.address().to_string()))
                    startHttpSession(std::move(socket), m_network->service, std::move(*slot));
            }
            accept();
        });
}

void SyncServer::pauseAccepting()
{
    Network &network = *m_network;
    if (network.pauseLength.count() == 0)
        m_log.note("кончились дескрипторы файлов: приём соединений приостановлен");
    network.pauseLength = std::clamp(network.pauseLength * 2, kFirstPause, kLongestPause);
    network.pause.expires_after(network.pauseLength);
    network.pause.async_wait([this](boost::system::error_code error) {
        if (!error && m_network->acceptor.is_open())
            accept();
    });
}

} // namespace furrow
