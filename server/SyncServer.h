#pragma once

#include "AuthThrottle.h"
#include "RequestLog.h"
#include "SyncService.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

namespace httplib {
class ContentReader;
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace furrow {

class SyncStore;
class TokenSet;

// The HTTP side of the sync server: POST /v1/sync for holders of a token, everything else
// refused. Each connection carries one request, so that a body left unread by a refusal is
// never taken for the next request. HTTPS when given a certificate and key.
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
        std::chrono::seconds readTimeout{5};
    };

    // Throws ServerError when the certificate or key cannot be loaded.
    SyncServer(SyncStore &store, const TokenSet &tokens, RequestLog &log, Settings settings,
               AuthThrottle::Now now = &std::chrono::steady_clock::now);
    ~SyncServer();
    SyncServer(const SyncServer &) = delete;
    SyncServer &operator=(const SyncServer &) = delete;

    // Takes the address; port 0 picks a free one. Answers the port. Throws ServerError.
    int bind(const std::string &host, int port);
    // Serves until stop(); answers false when listening failed.
    bool run();
    // Safe from any thread; requests in progress are finished.
    void stop();
    bool isSecure() const { return !m_settings.certPath.empty(); }

private:
    void installRoutes();
    bool preRoute(const httplib::Request &request, httplib::Response &response);
    void serveSync(const httplib::Request &request, httplib::Response &response,
                   const httplib::ContentReader &reader);
    bool authorise(const httplib::Request &request, httplib::Response &response);
    bool acceptsFraming(const httplib::Request &request, httplib::Response &response) const;
    bool readBody(const httplib::Request &request, httplib::Response &response,
                  const httplib::ContentReader &reader, std::string &body) const;
    void logRequest(const httplib::Request &request, const httplib::Response &response);

    SyncService m_service;
    const TokenSet &m_tokens;
    RequestLog &m_log;
    Settings m_settings;
    AuthThrottle m_throttle;
    std::unique_ptr<httplib::Server> m_http;
};

} // namespace furrow
