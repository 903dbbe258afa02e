#pragma once

#include "AuthThrottle.h"
#include "RequestLog.h"
#include "SyncService.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace furrow {

class SyncRequestHandler;
class SyncStore;
class TokenSet;

// The HTTP side of the sync server: POST /v1/sync for holders of a token, everything else
// refused. Connections are served by a few threads without any of them waiting on a slow or idle
// client; each carries one request, read within a deadline and within limits on its head and
// body, and there are limits on connections per address and in all. HTTPS when given a
// certificate and key.
class SyncServer
{
public:
    struct Settings
    {
        std::size_t maxBody = 8 * 1024 * 1024;
        long long pageSize = 500;
        long long pageBytes = 4 * 1024 * 1024; // sealed bytes in one answer, at least one record
        std::string certPath;                  // both set: HTTPS
        std::string keyPath;
        AuthThrottle::Policy throttle;
        std::chrono::seconds readTimeout{5}; // for the whole request, TLS handshake included
        std::size_t maxHead = 8 * 1024;
        std::size_t maxConnections = 4096; // fewer when few files may be open
        std::size_t maxConnectionsPerAddress = 64;
        int listenBacklog = 1024;
        unsigned threads = 0; // serving requests; 0: one per processor, at least two
    };

    // Throws ServerError when the certificate or key cannot be loaded.
    SyncServer(SyncStore &store, const TokenSet &tokens, RequestLog &log, Settings settings,
               AuthThrottle::Now now = &std::chrono::steady_clock::now);
    ~SyncServer();
    SyncServer(const SyncServer &) = delete;
    SyncServer &operator=(const SyncServer &) = delete;

    // Takes the address; port 0 picks a free one. Answers the port. Throws ServerError.
    int bind(const std::string &host, int port);
    // Serves until stop(); answers false when it could not.
    bool run();
    // Safe from any thread; requests in progress are finished.
    void stop();
    bool isSecure() const { return !m_settings.certPath.empty(); }
    // The connections held at once: Settings::maxConnections, or fewer when the limit on open
    // files leaves room for fewer.
    std::size_t connectionCap() const;

private:
    struct Network;
    void accept();
    void pauseAccepting();

    SyncService m_service;
    const TokenSet &m_tokens;
    RequestLog &m_log;
    Settings m_settings;
    AuthThrottle m_throttle;
    std::unique_ptr<SyncRequestHandler> m_handler;
    std::unique_ptr<Network> m_network;
};

} // namespace furrow
