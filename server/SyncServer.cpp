#include "SyncServer.h"

#include "ConnectionLimiter.h"
#include "HttpSession.h"
#include "ServerError.h"
#include "SyncRequestHandler.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/ssl/context.hpp>
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

// The listening socket, the threads and the limits that the server's connections share.
struct SyncServer::Network
{
    Network(const Settings &settings, HttpHandler &handler, RequestLog &log)
        : handshakes(log)
        , workers(settings.threads > 0 ? settings.threads
                                       : std::max(2u, std::thread::hardware_concurrency()))
        , limiter(settings.maxConnections, settings.maxConnectionsPerAddress)
        , service{handler,
                  {settings.maxHead, settings.maxBody, settings.readTimeout},
                  nullptr,
                  &handshakes,
                  workers.get_executor()}
    {}

    HandshakeLog handshakes;
    asio::io_context io{int(kConnectionThreads)};
    asio::thread_pool workers;
    tcp::acceptor acceptor{asio::make_strand(io)}; // its strand orders accepting and closing
    std::optional<asio::ssl::context> tls;
    ConnectionLimiter limiter;
    HttpService service;
};

namespace {

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
    });
}

void SyncServer::accept()
{
    m_network->acceptor.async_accept(
        asio::make_strand(m_network->io),
        [this](boost::system::error_code error, tcp::socket socket) {
            if (!m_network->acceptor.is_open())
                return;
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

} // namespace furrow
